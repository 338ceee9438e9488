#include "import/diaryimport.h"
#include "import/readers.h"

#include "diary/daykeys.h"
#include "diary/history.h"
#include "diary/pagestore.h"
#include "richtext/rtfreader.h"

#include "storedpage.h"
#include "testdataroot.h"

#include <QDir>
#include <QTextBlock>
#include <QTextCursor>

#include <gtest/gtest.h>

using namespace diaryimport;

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

} // namespace

TEST(DiaryImport, ADaysEntriesGoInTimeOrderHeadedByTheirTimes)
{
    const QDate march5(2024, 3, 5);
    std::vector<Entry> entries{
        entry(march5, QStringLiteral("late"), QTime(18, 0)),
        entry(QDate(2024, 3, 9), QStringLiteral("alone"), QTime(9, 15)),
        entry(march5, QStringLiteral("no time")),
        entry(march5, QStringLiteral("- *early*\n\n***\n\nthen"), QTime(7, 30), QStringLiteral("Morning")),
        entry(QDate(2024, 3, 1), QStringLiteral("first day")),
    };
    entries[3].markup = Entry::Markup::Markdown;

    TestDataRoot data;
    std::vector<std::pair<int, int>> heard;
    const auto reports = importEntries(data.root(), entries, Existing::Skip, [&](int done, int total) {
        heard.emplace_back(done, total);
        return true;
    });
    ASSERT_EQ(reports.size(), 3U);
    EXPECT_EQ(reports[0].dayKey, QStringLiteral("2024-03-01"));
    EXPECT_EQ(reports[1].dayKey, QStringLiteral("2024-03-05"));
    EXPECT_EQ(reports[1].entries, 3);
    EXPECT_EQ(reports[2].dayKey, QStringLiteral("2024-03-09"));
    for (const DayReport &report : reports)
        EXPECT_EQ(report.kind, DayReport::Kind::Created) << report.error.toStdString();
    EXPECT_EQ(heard, (std::vector<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));

    const auto page = storedpage::read(data.root(), QStringLiteral("2024-03-05"));
    EXPECT_EQ(storedpage::text(*page), QStringLiteral("07:30\nMorning\n\u2022 early\n") + kLine + QStringLiteral("\nthen\n") + kLine
                                           + QStringLiteral("\nno time\n") + kLine + QStringLiteral("\n18:00\nlate"))
        << "the untimed entry keeps its place; the timed ones take theirs in time order; a rule in an entry stays one";
    storedpage::expectMarks(*page, {{"07:30", "b"}, {"Morning", "b"}, {"early", "i"}, {"late", ""}});
    EXPECT_GT(page->find(QStringLiteral("early")).block().blockFormat().leftMargin(), 0)
        << "an entry's first paragraph keeps its own format";
    EXPECT_EQ(storedpage::text(*storedpage::read(data.root(), QStringLiteral("2024-03-09"))), QStringLiteral("alone"))
        << "a day's only entry needs no time above it";
}

TEST(DiaryImport, ADayWithAPageIsAppendedBelowALineOrSkipped)
{
    TestDataRoot data;
    const QDate day(2024, 3, 5);
    const QByteArray old = "{\\rtf1\\ansi {\\b old} words\\par}";
    ASSERT_TRUE(pagestore::save(data.root(), day, old));
    QDir(data.path()).mkpath(QStringLiteral("pages/2024-03-06.dat"));
    const std::vector<Entry> entries{entry(QDate(2024, 3, 5), QStringLiteral("new words")),
                                     entry(QDate(2024, 3, 6), QStringLiteral("unreadable page")),
                                     entry(QDate(2024, 3, 7), QStringLiteral("kept"))};

    const auto skipped = importEntries(data.root(), {entries[0]}, Existing::Skip);
    EXPECT_EQ(skipped.at(0).kind, DayReport::Kind::Skipped);
    EXPECT_EQ(pagestore::load(data.root(), day)->trimmed(), old);
    EXPECT_TRUE(history::versions(data.root(), data.root().pagePath(day)).isEmpty());

    const auto appended = importEntries(data.root(), entries, Existing::Append);
    ASSERT_EQ(appended.size(), 3U);
    EXPECT_EQ(appended[0].kind, DayReport::Kind::Appended) << appended[0].error.toStdString();
    const auto page = storedpage::read(data.root(), daykeys::dayKey(day));
    EXPECT_EQ(storedpage::text(*page), QStringLiteral("old words\n") + kLine + QStringLiteral("\nnew words"))
        << "a line drawn across the page, never characters that wrap";
    storedpage::expectMarks(*page, {{"old", "b"}, {"new", ""}});
    const auto versions = history::versions(data.root(), data.root().pagePath(day));
    ASSERT_EQ(versions.size(), 1);
    EXPECT_EQ(pagestore::loadFile(data.root(), versions[0].path, data.root().pagePath(day))->trimmed(), old);

    EXPECT_EQ(appended[1].kind, DayReport::Kind::Failed);
    EXPECT_FALSE(appended[1].error.isEmpty());
    EXPECT_EQ(appended[2].kind, DayReport::Kind::Created) << "a day that fails stops no other";
}

TEST(DiaryImport, ADayOfMoreTextThanADayTakesFailsBeforeItsPageIsBuilt)
{
    TestDataRoot data;
    const QString half(kLargestDayText / 2 + 1, QLatin1Char('w'));
    const std::vector<Entry> entries{entry(QDate(2024, 3, 5), half), entry(QDate(2024, 3, 5), half, QTime(8, 0)),
                                     entry(QDate(2024, 3, 6), QStringLiteral("kept"))};
    const auto reports = importEntries(data.root(), entries, Existing::Skip);
    ASSERT_EQ(reports.size(), 2U);
    EXPECT_EQ(reports[0].error, QStringLiteral("its entries come to more than 4 MiB of text, more than a day takes"));
    EXPECT_FALSE(pagestore::exists(data.root(), QDate(2024, 3, 5)));
    EXPECT_EQ(reports[1].kind, DayReport::Kind::Created);
}

TEST(DiaryImport, AStoppedImportRunAgainStoresEveryDayOnce)
{
    TestDataRoot data;
    const QByteArray old = "{\\rtf1\\ansi old\\par}";
    std::vector<Entry> entries;
    for (int day = 1; day <= 4; ++day) {
        entries.push_back(entry(QDate(2024, 3, day), QStringLiteral("entry %1").arg(day)));
        ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, day), old));
    }
    const auto journals = [&] { return QDir(data.path()).entryList({QStringLiteral(".import-*")}, QDir::Hidden | QDir::Files); };
    const auto stopAt = [](int last) { return [last](int done, int) { return done < last; }; };

    EXPECT_EQ(importEntries(data.root(), entries, Existing::Append, stopAt(3)).size(), 3U);
    EXPECT_EQ(journals().size(), 1);
    // As if stopped after the record was written but before the third page was.
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 3), old));

    const auto rest = importEntries(data.root(), entries, Existing::Append);
    ASSERT_EQ(rest.size(), 2U);
    EXPECT_EQ(rest[0].dayKey, QStringLiteral("2024-03-03"));
    for (int day = 1; day <= 4; ++day)
        EXPECT_EQ(storedpage::text(*storedpage::read(data.root(), daykeys::dayKey(QDate(2024, 3, day)))),
                  QStringLiteral("old\n") + kLine + QStringLiteral("\nentry %1").arg(day));
    EXPECT_TRUE(journals().isEmpty());
}

TEST(DiaryImport, PicturesComeOnlyFromTheEntry)
{
    const QByteArray tree = storedpage::sampleBytes(QStringLiteral("markdown/images/tree.png"));
    const QString onDisk = storedpage::samplePath(QStringLiteral("markdown/images/tree.png"));
    Entry html = entry(QDate(2024, 3, 5), QStringLiteral("<p>a <img src=\"tree\" width=\"24\"> b <img src=\"%1\"> "
                                                         "c <img src=\"broken\" alt=\"no picture\"></p>")
                                              .arg(onDisk));
    html.markup = Entry::Markup::Html;
    html.pictures.insert(QStringLiteral("tree"), tree);
    html.pictures.insert(QStringLiteral("broken"), "not an image");

    TestDataRoot data;
    const auto reports = importEntries(data.root(), {html}, Existing::Skip);
    ASSERT_EQ(reports.size(), 1U);
    ASSERT_EQ(reports[0].kind, DayReport::Kind::Created);
    const auto page = storedpage::read(data.root(), QStringLiteral("2024-03-05"));
    const auto pictures = storedpage::pictures(*page);
    ASSERT_EQ(pictures.size(), 1U) << "an image the entry does not hold is never read from the disk";
    EXPECT_EQ(pictures[0].bytes, tree);
    EXPECT_EQ(storedpage::text(*page), QStringLiteral("a  b %1 c no picture").arg(onDisk));
}

// Day One writes its photos as images without a description.
TEST(DiaryImport, ADayOnePhotoShownInTheTextIsOnThePage)
{
    const Read read = readDiary(Source::DayOne, storedpage::samplePath(QStringLiteral("../json/samples/dayone")));
    ASSERT_FALSE(read.error) << read.error->toStdString();
    TestDataRoot data;
    importEntries(data.root(), read.entries, Existing::Skip);
    const auto page = storedpage::read(data.root(), QStringLiteral("2020-05-01"));
    const auto pictures = storedpage::pictures(*page);
    ASSERT_EQ(pictures.size(), 1U) << storedpage::text(*page).toStdString();
    EXPECT_EQ(pictures[0].bytes, storedpage::sampleBytes(QStringLiteral("../json/samples/dayone/photos/f9e9ae4e211fd755cdbbff63186cac9d.png")));
    // A HEIC photo and a missing one leave their addresses where they stood.
    const auto late = storedpage::read(data.root(), QStringLiteral("2020-05-02"));
    EXPECT_TRUE(storedpage::pictures(*late).empty());
    EXPECT_EQ(storedpage::text(*late).count(QStringLiteral("dayone-moment://")), 2) << storedpage::text(*late).toStdString();
}
