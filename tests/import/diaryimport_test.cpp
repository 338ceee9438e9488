#include "import/diaryimport.h"
#include "import/readers.h"

#include "diary/daykeys.h"
#include "diary/history.h"
#include "diary/pagestore.h"

#include "storedpage.h"
#include "testdataroot.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QUrl>

#include <gtest/gtest.h>

using namespace diaryimport;
using namespace Qt::StringLiterals;

namespace {

const QString kLine = storedpage::kRule;

Entry entry(QDate day, const QString &text, std::optional<QTime> time = std::nullopt, const QString &title = {})
{
    Entry made;
    made.day = day;
    made.time = time;
    made.title = title;
    made.text = text;
    return made;
}

class DiaryImport : public testing::Test
{
protected:
    std::vector<DayReport> imported(const std::vector<Entry> &entries, Existing existing = Existing::Skip)
    {
        return importEntries(data.root(), entries, existing);
    }
    std::unique_ptr<QTextDocument> page(const QString &day) const { return storedpage::read(data.root(), day); }
    QString text(const QString &day) const { return storedpage::text(*page(day)); }

    TestDataRoot data;
};

} // namespace

TEST_F(DiaryImport, ADaysEntriesGoInTimeOrderHeadedByTheirTimes)
{
    const QDate march5(2024, 3, 5);
    std::vector<Entry> entries{entry(march5, u"late"_s, QTime(18, 0)), entry(QDate(2024, 3, 9), u"alone"_s, QTime(9, 15)),
                               entry(march5, u"no time"_s), entry(march5, u"- *early*\n\n***\n\nthen"_s, QTime(7, 30), u"Morning"_s),
                               entry(QDate(2024, 3, 1), u"first day"_s)};
    entries[3].markup = Entry::Markup::Markdown;
    std::vector<std::pair<int, int>> heard;
    const auto reports = importEntries(data.root(), entries, Existing::Skip, [&](int done, int total) {
        heard.emplace_back(done, total);
        return true;
    });
    ASSERT_EQ(reports.size(), 3U);
    const std::pair<const char *, int> days[]{{"2024-03-01", 1}, {"2024-03-05", 3}, {"2024-03-09", 1}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(std::pair(reports[i].dayKey, reports[i].entries), std::pair(QString::fromLatin1(days[i].first), days[i].second));
        EXPECT_EQ(reports[i].kind, DayReport::Kind::Created) << reports[i].error.toStdString();
    }
    EXPECT_EQ(heard, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));

    const auto fifth = page(u"2024-03-05"_s);
    EXPECT_EQ(storedpage::text(*fifth), u"07:30\nMorning\n\u2022 early\n"_s + kLine + u"\nthen\n"_s + kLine + u"\nno time\n"_s + kLine + u"\n18:00\nlate"_s)
        << "the untimed entry keeps its place; the timed ones take theirs in time order; a rule in an entry stays one";
    storedpage::expectMarks(*fifth, {{"07:30", "b"}, {"Morning", "b"}, {"early", "i"}, {"late", ""}});
    EXPECT_GT(fifth->find(u"early"_s).block().blockFormat().leftMargin(), 0) << "an entry's first paragraph keeps its own format";
    EXPECT_EQ(text(u"2024-03-09"_s), u"alone"_s) << "a day's only entry needs no time above it";
}

TEST_F(DiaryImport, ADayWithAPageIsAppendedBelowALineOrSkipped)
{
    const QDate day(2024, 3, 5);
    const QByteArray old = "{\\rtf1\\ansi {\\b old} words\\par}";
    ASSERT_TRUE(pagestore::save(data.root(), day, old));
    QDir(data.path()).mkpath(u"pages/2024-03-06.dat"_s);
    const std::vector<Entry> entries{entry(day, u"new words"_s), entry(QDate(2024, 3, 6), u"unreadable page"_s), entry(QDate(2024, 3, 7), u"kept"_s)};
    const auto versions = [&] { return history::versions(data.root(), data.root().pagePath(day)); };

    EXPECT_EQ(imported({entries[0]}).at(0).kind, DayReport::Kind::Skipped);
    EXPECT_EQ(pagestore::load(data.root(), day)->trimmed(), old);
    EXPECT_TRUE(versions().isEmpty());

    const auto appended = imported(entries, Existing::Append);
    ASSERT_EQ(appended.size(), 3U);
    EXPECT_EQ(appended[0].kind, DayReport::Kind::Appended) << appended[0].error.toStdString();
    EXPECT_EQ(text(daykeys::dayKey(day)), u"old words\n"_s + kLine + u"\nnew words"_s) << "a line drawn across the page, never characters that wrap";
    storedpage::expectMarks(*page(daykeys::dayKey(day)), {{"old", "b"}, {"new", ""}});
    ASSERT_EQ(versions().size(), 1);
    EXPECT_EQ(pagestore::loadFile(data.root(), versions()[0].path, data.root().pagePath(day))->trimmed(), old);
    EXPECT_EQ(appended[1].kind, DayReport::Kind::Failed);
    EXPECT_FALSE(appended[1].error.isEmpty());
    EXPECT_EQ(appended[2].kind, DayReport::Kind::Created) << "a day that fails stops no other";
}

TEST_F(DiaryImport, ADayOfMoreTextThanADayTakesFailsBeforeItsPageIsBuilt)
{
    const QString half(kLargestDayText / 2 + 1, u'w');
    const auto reports = imported({entry(QDate(2024, 3, 5), half), entry(QDate(2024, 3, 5), half, QTime(8, 0)), entry(QDate(2024, 3, 6), u"kept"_s)});
    ASSERT_EQ(reports.size(), 2U);
    EXPECT_EQ(reports[0].error, u"its entries come to more than 4 MiB of text, more than a day takes"_s);
    EXPECT_FALSE(pagestore::exists(data.root(), QDate(2024, 3, 5)));
    EXPECT_EQ(reports[1].kind, DayReport::Kind::Created);
}

TEST_F(DiaryImport, AStoppedImportRunAgainStoresEveryDayOnce)
{
    const QByteArray old = "{\\rtf1\\ansi old\\par}";
    std::vector<Entry> entries;
    for (int day = 1; day <= 4; ++day) {
        entries.push_back(entry(QDate(2024, 3, day), u"entry %1"_s.arg(day)));
        ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, day), old));
    }
    const auto journals = [&] { return QDir(data.path()).entryList({u".import-*"_s}, QDir::Hidden | QDir::Files); };
    EXPECT_EQ(importEntries(data.root(), entries, Existing::Append, [](int done, int) { return done < 3; }).size(), 3U);
    EXPECT_EQ(journals().size(), 1);
    // As if stopped after the record was written but before the third page was.
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 3), old));

    const auto rest = imported(entries, Existing::Append);
    ASSERT_EQ(rest.size(), 2U);
    EXPECT_EQ(rest[0].dayKey, u"2024-03-03"_s);
    for (int day = 1; day <= 4; ++day)
        EXPECT_EQ(text(daykeys::dayKey(QDate(2024, 3, day))), u"old\n"_s + kLine + u"\nentry %1"_s.arg(day));
    EXPECT_TRUE(journals().isEmpty());
}

TEST_F(DiaryImport, PicturesComeOnlyFromTheEntry)
{
    const QByteArray tree = storedpage::sampleBytes(u"markdown/images/tree.png"_s);
    const QString onDisk = storedpage::samplePath(u"markdown/images/tree.png"_s);
    Entry html = entry(QDate(2024, 3, 5), u"<p>a <img src=\"tree\" width=\"24\"> b <img src=\"%1\"> c <img src=\"broken\" alt=\"no picture\"></p>"_s.arg(onDisk));
    html.markup = Entry::Markup::Html;
    html.pictures.insert(u"tree"_s, tree);
    html.pictures.insert(u"broken"_s, "not an image");
    ASSERT_EQ(imported({html}).at(0).kind, DayReport::Kind::Created);
    const auto fifth = page(u"2024-03-05"_s);
    const auto pictures = storedpage::pictures(*fifth);
    ASSERT_EQ(pictures.size(), 1U) << "an image the entry does not hold is never read from the disk";
    EXPECT_EQ(pictures[0].bytes, tree);
    EXPECT_EQ(storedpage::text(*fifth), u"a  b %1 c no picture"_s.arg(onDisk));
}

TEST_F(DiaryImport, OneRedNotebookMonthFileWithPicturesByPathOrAddress)
{
    QTemporaryDir folder;
    const QString picture = storedpage::samplePath(u"rednotebook/pictures/tree"_s);
    const QByteArray byPath = "[\"\"" + picture.toUtf8() + "\"\".png]";
    const QByteArray byAddress = "[\"\"" + QUrl::fromLocalFile(picture).toString().toUtf8() + "\"\".png?6]";
    for (const auto &[name, bytes] : {std::pair{"2023-12.txt", "24: {text: '" + byPath + " and " + byAddress + "'}\n"}, {"2023-11.txt", QByteArray("1: {text: 'not read'}\n")}}) {
        QFile file(folder.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    const Read read = readRedNotebook(folder.filePath(u"2023-12.txt"_s));
    ASSERT_EQ(read.entries.size(), 1U) << "only the month file given is read";
    EXPECT_EQ(read.entries[0].day, QDate(2023, 12, 24));
    imported(read.entries);
    EXPECT_EQ(storedpage::pictures(*page(u"2023-12-24"_s)).size(), 2U);
    EXPECT_EQ(text(u"2023-12-24"_s), u" and "_s);
}
