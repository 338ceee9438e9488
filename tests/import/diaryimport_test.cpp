#include "import/diaryimport.h"
#include "import/readers.h"

#include "diary/daykeys.h"
#include "diary/history.h"
#include "diary/pagestore.h"

#include "richtext/pageexport.h"
#include "richtext/picture.h"
#include "richtext/rtfreader.h"
#include "richtext/rule.h"

#include "samples.h"
#include "testdataroot.h"

#include <QTextBlock>

#include <gtest/gtest.h>

using namespace diaryimport;
using namespace Qt::StringLiterals;

namespace {

// What shownText() shows for a drawn rule, at the end of its paragraph.
const QString kLine = u"[rule]"_s;
const QString kMark(QChar::ObjectReplacementCharacter);

// The page's text, one line per paragraph or line break.
QString shownText(const QTextDocument &page)
{
    const std::unique_ptr<QTextDocument> shown(page.clone());
    for (QTextBlock block = shown->begin(); block.isValid(); block = block.next()) {
        if (!richtext::hasRule(block.blockFormat()))
            continue;
        QTextCursor end(block);
        end.movePosition(QTextCursor::EndOfBlock);
        end.insertText(kLine);
    }
    return richtext::plainText(*shown);
}

// The marks of the words' first occurrence: b, i, u and s for bold, italic, underlined and struck out.
std::string marks(const QTextDocument &page, const QString &words)
{
    const QTextCharFormat format = page.find(words).charFormat();
    std::string on;
    for (const auto &[mark, set] : {std::pair{'b', format.fontWeight() >= QFont::Bold}, {'i', format.fontItalic()}, {'u', format.fontUnderline()}, {'s', format.fontStrikeOut()}})
        on += set ? std::string(1, mark) : std::string();
    return on;
}

Entry entry(QDate day, const QString &text, std::optional<QTime> time = std::nullopt, const QString &title = {}, Entry::Markup markup = Entry::Markup::Plain)
{
    return {.day = day, .time = time, .title = title, .markup = markup, .text = text,
            .tags = {}, .pictures = {}, .pictureFiles = {}, .remake = {}};
}

class DiaryImport : public testing::Test
{
protected:
    std::vector<DayReport> imported(const std::vector<Entry> &entries, Existing existing = Existing::Skip)
    {
        return importEntries(data.root(), entries, existing);
    }
    // The day's stored page as the editor opens it; empty when the day has none.
    std::unique_ptr<QTextDocument> page(const QString &day) const
    {
        auto page = std::make_unique<QTextDocument>();
        const auto rtf = pagestore::load(data.root(), *daykeys::dateFromDayKey(day));
        EXPECT_TRUE(!rtf || richtext::readRtf(*rtf, *page));
        return page;
    }
    QString text(const QString &day) const { return shownText(*page(day)); }
    std::vector<QByteArray> pictures(const QString &day) const
    {
        const auto shown = page(day);
        std::vector<QByteArray> found;
        for (QTextCursor at = shown->find(kMark); !at.isNull(); at = shown->find(kMark, at))
            found.push_back(richtext::storedPicture(*shown, at.charFormat().toImageFormat())->bytes);
        return found;
    }

    TestDataRoot data;
};

} // namespace

// A day of more text than a day takes fails before its page is built, and the days after it still go in.
TEST_F(DiaryImport, ADaysEntriesGoInTimeOrderHeadedByTheirTimesAndADayOfTooMuchTextFails)
{
    const QDate march5(2024, 3, 5);
    const QString half(kLargestDayText / 2 + 1, u'w');
    std::vector<Entry> entries{entry(march5, u"late"_s, QTime(18, 0)), entry(QDate(2024, 3, 9), u"alone"_s, QTime(9, 15)),
                               entry(march5, u"no time"_s), entry(march5, u"- *early*\n\n***\n\nthen"_s, QTime(7, 30), u"Morning"_s, Entry::Markup::Markdown),
                               entry(QDate(2024, 3, 1), u"first day"_s), entry(QDate(2024, 3, 7), half), entry(QDate(2024, 3, 7), half, QTime(8, 0))};
    std::vector<std::pair<int, int>> heard;
    const auto reports = importEntries(data.root(), entries, Existing::Skip, [&](int done, int total) {
        heard.emplace_back(done, total);
        return true;
    });
    ASSERT_EQ(reports.size(), 4U);
    EXPECT_EQ(std::tuple(reports[1].dayKey, reports[1].entries, reports[1].kind), std::tuple(u"2024-03-05"_s, 3, DayReport::Kind::Created))
        << "the days in order, each with its number of entries";
    EXPECT_EQ(std::tuple(reports[2].error, reports[3].kind),
              std::tuple(u"its entries come to more than 4 MiB of text, more than a day takes"_s, DayReport::Kind::Created));
    EXPECT_EQ(std::pair(pagestore::exists(data.root(), QDate(2024, 3, 7)), heard), std::pair(false, decltype(heard){{1, 4}, {2, 4}, {3, 4}, {4, 4}}));

    const auto fifth = page(u"2024-03-05"_s);
    EXPECT_EQ(shownText(*fifth), u"07:30\nMorning\n\u2022 early\n"_s + kLine + u"\nthen\n"_s + kLine + u"\nno time\n"_s + kLine + u"\n18:00\nlate"_s)
        << "the untimed entry keeps its place; the timed ones take theirs in time order; a rule in an entry stays one";
    const auto marked = [&](const char *words) { return marks(*fifth, QLatin1String(words)); };
    EXPECT_EQ((std::vector{marked("07:30"), marked("Morning"), marked("early"), marked("late")}), (std::vector<std::string>{"b", "b", "i", ""}));
    EXPECT_GT(fifth->find(u"early"_s).block().blockFormat().leftMargin(), 0) << "an entry's first paragraph keeps its own format";
    EXPECT_EQ(text(u"2024-03-09"_s), u"09:15\nalone"_s) << "a day's only entry keeps its time too";
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

    EXPECT_EQ(imported(entries, Existing::Append).at(0).dayKey, u"2024-03-03"_s) << "the second run starts where the first stopped";
    for (int day = 1; day <= 4; ++day)
        EXPECT_EQ(text(daykeys::dayKey(QDate(2024, 3, day))), u"old\n"_s + kLine + u"\nentry %1"_s.arg(day));
    EXPECT_TRUE(journals().isEmpty());
}

// An entry's pictures are only those it holds; a RedNotebook month file's are those its text names by path or address.
TEST_F(DiaryImport, PicturesComeOnlyFromTheEntryOrTheRedNotebookMonthFilesPathsAndAddresses)
{
    const QByteArray tree = sampleBytes(u"markdown/images/tree.png"_s);
    const QString onDisk = samplePath(u"markdown/images/tree.png"_s);
    Entry html = entry(QDate(2024, 3, 5), u"<p>a <img src=\"tree\" width=\"24\"> b <img src=\"%1\"> c <img src=\"broken\" alt=\"no picture\"></p>"_s.arg(onDisk),
                       std::nullopt, {}, Entry::Markup::Html);
    html.pictures.insert(u"tree"_s, tree);
    html.pictures.insert(u"broken"_s, "not an image");
    const QString red = samplePath(u"rednotebook/pictures/tree"_s);
    data.writeFile(u"2023-12.txt"_s, "24: {text: '[\"\"" + red.toUtf8() + "\"\".png] and [\"\"" + QUrl::fromLocalFile(red).toString().toUtf8() + "\"\".png?6]'}\n");
    data.writeFile(u"2023-11.txt"_s, "1: {text: 'not read'}\n");
    const Read read = readRedNotebook(data.path() + u"/2023-12.txt"_s);
    ASSERT_EQ(read.entries.size(), 1U) << "only the month file given is read";
    imported({html, read.entries[0]});
    EXPECT_EQ(pictures(u"2024-03-05"_s), std::vector<QByteArray>{tree}) << "an image the entry does not hold is never read from the disk";
    EXPECT_EQ(text(u"2024-03-05"_s), u"a  b %1 c no picture"_s.arg(onDisk));
    EXPECT_EQ(std::pair(pictures(u"2023-12-24"_s), text(u"2023-12-24"_s)), std::pair(std::vector<QByteArray>{tree, tree}, u" and "_s));
}

// The samples of four readers imported into one diary, each entry's tags in a
// last paragraph: a day that has a page is skipped, or appended to below a
// drawn line, its old page kept in history.
TEST_F(DiaryImport, SamplesKeepTheirFormattingAndADayWithAPageIsSkippedOrAppended)
{
    const auto read = [](Source source, const char *folder) { return readDiary(source, samplePath(QLatin1String(folder))).entries; };
    for (const auto &[source, folder] : {std::pair{Source::DayOne, "dayone"}, {Source::Jrnl, "jrnl.json"}, {Source::Markdown, "markdown"}})
        imported(read(source, folder));
    const QDate march5(2024, 3, 5);
    const QByteArray before = *pagestore::load(data.root(), march5);
    std::vector<Entry> red = read(Source::RedNotebook, "rednotebook");
    const auto skipped = imported(red);
    EXPECT_EQ(std::ranges::count(skipped, DayReport::Kind::Skipped, &DayReport::kind), 1);
    EXPECT_EQ(std::pair(*pagestore::load(data.root(), march5), history::versions(data.root(), data.root().pagePath(march5)).isEmpty()), std::pair(before, true));

    std::erase_if(red, [&](const Entry &each) { return each.day != march5; });
    EXPECT_EQ(imported(red, Existing::Append).at(0).kind, DayReport::Kind::Appended);
    const auto versions = history::versions(data.root(), data.root().pagePath(march5));
    ASSERT_EQ(versions.size(), 1);
    EXPECT_EQ(pagestore::loadFile(data.root(), versions[0].path, data.root().pagePath(march5)), before);

    // samples/pages.txt: "@@ day", the page's text, then a line of words=marks|... in the page.
    for (const QString &section : QString::fromUtf8(sampleBytes(u"pages.txt"_s)).split(u"@@ "_s, Qt::SkipEmptyParts)) {
        const QString day = section.section(u'\n', 0, 0);
        SCOPED_TRACE(day.toStdString());
        const auto shown = page(day);
        EXPECT_EQ(shownText(*shown).toStdString(), section.section(u'\n', 1, -3).toStdString());
        for (const QString &pair : section.section(u'\n', -2, -2).split(u'|', Qt::SkipEmptyParts))
            EXPECT_EQ(marks(*shown, pair.section(u'=', 0, 0)), pair.section(u'=', 1).toStdString()) << pair.toStdString();
    }
    for (const auto &[day, heading, text] : {std::tuple{u"2024-03-12"_s, u"Market day"_s, u"apples"_s}, {u"2020-05-01"_s, u"Morning walk"_s, u"swifts"_s}}) {
        const auto headed = page(day);
        EXPECT_GT(headed->find(heading).charFormat().fontPointSize(), headed->find(text).charFormat().fontPointSize()) << day.toStdString();
    }
    const QByteArray tree = sampleBytes(u"rednotebook/pictures/tree.png"_s);
    EXPECT_EQ((std::vector{pictures(u"2024-03-12"_s), pictures(u"2024-03-05"_s), pictures(u"2020-05-01"_s), pictures(u"2020-05-02"_s)}),
              (std::vector<std::vector<QByteArray>>{{tree}, {tree}, {sampleBytes(u"dayone/photos/f9e9ae4e211fd755cdbbff63186cac9d.png"_s)}, {}}))
        << "the Markdown page's picture, not the RedNotebook one's; a HEIC photo and a missing one leave their addresses";
}
