#include "export/rangeexport.h"
#include "export/rangepages.h"
#include "pictures.h"
#include "readers.h"
#include "samplepages.h"
#include "testdataroot.h"

#include "diskfull.h"

#include "richtext/rtftext.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using readers::bytesOf;
using readers::names;
using rangeexport::Format;
using namespace Qt::StringLiterals;

namespace {

// The text pandoc reads from a page's Markdown, less the heading and the
// pictures, which plain text shows as their descriptions in brackets.
QString readBack(const QString &markdown)
{
    static const QRegularExpression pictures(u"\\[\\d{4}-\\d\\d-\\d\\d picture \\d+\\]"_s);
    return readers::folded(readers::markdownAsText(markdown).remove(pictures).section(u'\n', 1));
}

// The outline's titles, each with the sheet it points at (from 1).
QStringList outline(const QString &pdf)
{
    QStringList items;
    for (const QJsonValue item : QJsonDocument::fromJson(readers::output(u"qpdf"_s, {u"--json"_s, u"--json-key=outlines"_s, pdf}).value_or(QString()).toUtf8())[u"outlines"_s].toArray())
        items.append(item[u"title"_s].toString() + u'@' + QString::number(item[u"destpageposfrom1"_s].toInt()));
    return items;
}

struct Diary
{
    TestDataRoot data;
    QByteArray png = testpictures::encoded(testpictures::drawing(), "png");
    QByteArray jpeg = testpictures::encoded(testpictures::photograph(), "jpeg");
    QByteArray fifth;
    QByteArray sixth;

    Diary()
    {
        samplepages::store(data.root(), u"2024-03-04"_s, "before the range\\par");
        fifth = samplepages::store(data.root(), u"2024-03-05"_s, "Morning {\\b bold} and {\\i italic}, {\\ul under} {\\strike struck}\\par "
                                       + samplepages::pictureGroup(png, "pngblip", {12, 8}) + " between "
                                       + samplepages::pictureGroup(jpeg, "jpegblip", {160, 120}) + "\\par");
        sixth = samplepages::store(data.root(), u"2024-03-06"_s, "# not a heading\\line * nor a list, 2*3 [x](y)\\par   indented <b>\\par");
        // Long enough to need several sheets.
        samplepages::store(data.root(), u"2024-03-08"_s, "after the range\\par" + QByteArray("\\pard a long day by the sea\\par\r\n").repeated(150));
    }
};

} // namespace

TEST(RangeExport, MarkdownHoldsEachDayOfTheRangeWithItsPictures)
{
    Diary diary;
    QTemporaryDir scratch;
    const QString out = scratch.filePath(u"new/md"_s);
    QList<std::pair<int, int>> calls;
    const auto record = [&](int done, int total) {
        calls.append({done, total});
        return true;
    };
    const Outcome done = rangeexport::exportRange(diary.data.root(), {Format::Markdown, QDate(2024, 3, 5), QDate(2024, 3, 7), out}, record);
    ASSERT_TRUE(done) << done.error().toStdString();
    EXPECT_EQ(calls, (QList<std::pair<int, int>>{{1, 2}, {2, 2}}));
    EXPECT_EQ(names(out), (QStringList{u"2024-03-05.md"_s, u"2024-03-06.md"_s, u"images"_s}));
    EXPECT_EQ(names(out + u"/images"_s), (QStringList{u"2024-03-05-1.png"_s, u"2024-03-05-2.jpg"_s}));
    EXPECT_EQ(std::pair(bytesOf(out + u"/images/2024-03-05-1.png"_s), bytesOf(out + u"/images/2024-03-05-2.jpg"_s)), std::pair(diary.png, diary.jpeg))
        << "the stored bytes, not a new encoding";

    const QString fifth = QString::fromUtf8(bytesOf(out + u"/2024-03-05.md"_s));
    EXPECT_TRUE(fifth.startsWith(u"# "_s + rangeexport::dayTitle(QDate(2024, 3, 5)) + u"\n\nMorning **bold** and *italic*, <u>under</u> ~~struck~~\n\n"_s))
        << fifth.toStdString();
    EXPECT_TRUE(fifth.contains(u"![2024-03-05 picture 1](images/2024-03-05-1.png) between ![2024-03-05 picture 2](images/2024-03-05-2.jpg)"_s))
        << fifth.toStdString();
    const QString sixth = QString::fromUtf8(bytesOf(out + u"/2024-03-06.md"_s));
    if (const QStringList absent = readers::missing({u"pandoc"_s}); !absent.isEmpty())
        GTEST_SKIP() << "not installed: " << absent.join(u' ').toStdString();
    EXPECT_EQ(readBack(fifth), readers::folded(richtext::visibleText(diary.fifth)));
    EXPECT_EQ(readBack(sixth), readers::folded(richtext::visibleText(diary.sixth)));
    EXPECT_EQ(readers::markdownAsText(sixth).section(u'\n', 0, 0), rangeexport::dayTitle(QDate(2024, 3, 6)));
}

TEST(RangeExport, StoppedRefusedOrFailedLeavesNothingNewOrTheOldFile)
{
    Diary diary;
    QTemporaryDir scratch;
    const auto stopAtSecond = [](int done, int) { return done < 2; };
    const QString made = scratch.filePath(u"made/here"_s);
    EXPECT_EQ(rangeexport::exportRange(diary.data.root(), {Format::Markdown, {}, {}, made}, stopAtSecond).error(), u"the export was stopped"_s);
    EXPECT_FALSE(QFileInfo::exists(scratch.filePath(u"made"_s))) << "the folders it made go too";

    const QString mine = scratch.filePath(u"mine"_s);
    ASSERT_TRUE(QDir().mkpath(mine));
    for (const bool oneFile : {false, true})
        EXPECT_FALSE(rangeexport::exportRange(diary.data.root(), {Format::Markdown, {}, {}, mine, oneFile}, stopAtSecond));
    {
        // Room for the first page and its drawing, not for its photograph.
        const DiskFull full(600);
        EXPECT_FALSE(rangeexport::exportRange(diary.data.root(), {Format::Markdown, QDate(2024, 3, 5), {}, mine}));
    }
    EXPECT_TRUE(QFileInfo(mine).isDir() && names(mine).isEmpty()) << names(mine).join(u' ').toStdString();

    const QString file = diary.data.root().pagePath(u"2024-03-04"_s);
    EXPECT_EQ(rangeexport::exportRange(diary.data.root(), {Format::Markdown, {}, {}, file}).error(), file + u" is not a folder"_s);
    EXPECT_FALSE(rangeexport::exportRange(diary.data.root(), {Format::Markdown, {}, {}, u"/proc/quillnest-export"_s}));
    EXPECT_FALSE(QFileInfo::exists(u"/proc/quillnest-export"_s));

    const QString unmade = scratch.filePath(u"unmade"_s);
    EXPECT_EQ(rangeexport::exportRange(diary.data.root(), {Format::Markdown, QDate(2030, 1, 1), {}, unmade}).error(),
              u"no page between 2030-01-01 and the last day"_s);
    EXPECT_EQ(rangeexport::exportRange(diary.data.root(), {Format::Pdf, QDate(2024, 3, 7), QDate(2024, 3, 7), unmade}).error(),
              u"no page between 2024-03-07 and 2024-03-07"_s);
    EXPECT_FALSE(QFileInfo::exists(unmade));

    // A PDF stopped or failed leaves the old file and no part beside it.
    const QString pdf = mine + u"/range.pdf"_s;
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("the old export") > 0);
    old.close();
    EXPECT_EQ(rangeexport::exportRange(diary.data.root(), {Format::Pdf, {}, {}, pdf}, stopAtSecond).error(), u"the export was stopped"_s);
    {
        const DiskFull full(20000);
        EXPECT_FALSE(rangeexport::exportRange(diary.data.root(), {Format::Pdf, {}, {}, pdf}));
    }
    EXPECT_EQ(rangeexport::exportRange(diary.data.root(), {Format::Pdf, {}, {}, mine + u"/no/such.pdf"_s}).error(),
              mine + u"/no: the folder does not exist"_s);
    EXPECT_EQ(rangeexport::exportRange(diary.data.root(), {Format::Pdf, {}, {}, mine}).error(), mine + u" is a folder"_s);
    EXPECT_FALSE(rangeexport::exportRange(diary.data.root(), {Format::Pdf, {}, {}, u"/proc/quillnest.pdf"_s}));
    EXPECT_EQ(bytesOf(pdf), QByteArray("the old export"));
    EXPECT_EQ(names(mine), QStringList{u"range.pdf"_s});
}

// In Russian, so the outline holds titles beyond Latin-1.
TEST(RangeExport, PdfHoldsEachDayFromItsOwnSheetWithOutlineAndPicturesAndOneMarkdownFileHoldsAllInOrder)
{
    Diary diary;
    QTemporaryDir out;
    const Outcome one = rangeexport::exportRange(diary.data.root(), {Format::Markdown, {}, {}, out.path(), true});
    ASSERT_TRUE(one) << one.error().toStdString();
    QStringList headings = QString::fromUtf8(bytesOf(out.filePath(rangeexport::kOneFileName))).split(u'\n');
    headings.removeIf([](const QString &line) { return !line.startsWith(u"# "_s); });
    EXPECT_EQ(headings.join(u'|'), u"# %1|# %2|# %3|# %4"_s.arg(rangeexport::dayTitle(QDate(2024, 3, 4)), rangeexport::dayTitle(QDate(2024, 3, 5)), rangeexport::dayTitle(QDate(2024, 3, 6)), rangeexport::dayTitle(QDate(2024, 3, 8))));

    if (const QStringList absent = readers::missing({u"pdftotext"_s, u"pdfimages"_s, u"pdfinfo"_s, u"qpdf"_s}); !absent.isEmpty())
        GTEST_SKIP() << "not installed: " << absent.join(u' ').toStdString();
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const QString pdf = out.filePath(u"range.pdf"_s);
    const Outcome done = rangeexport::exportRange(diary.data.root(), {Format::Pdf, QDate(2024, 3, 5), QDate(2024, 3, 8), pdf});
    QStringList titles;
    for (const int day : {5, 6, 8})
        titles.append(rangeexport::dayTitle(QDate(2024, 3, day)));
    QLocale::setDefault(before);
    ASSERT_TRUE(done) << done.error().toStdString();
    ASSERT_TRUE(std::ranges::any_of(titles[0], [](QChar c) { return c.unicode() > 0xff; })) << titles[0].toStdString();
    const QStringList sheets = readers::pdfSheets(pdf);
    ASSERT_GT(sheets.size(), 3);
    EXPECT_TRUE(sheets[0].startsWith(titles[0] + u"\nMorning bold"_s) && sheets[1].startsWith(titles[1] + u"\n# not a heading"_s)
                && sheets[2].startsWith(titles[2] + u"\nafter the range"_s)) << sheets.join(u'\f').toStdString();
    EXPECT_EQ(std::pair(sheets.join(u'\f').count(u"a long day by the sea"_s), sheets.join(u'\f').count(u"before the range"_s)), std::pair(qsizetype(150), qsizetype(0)));
    EXPECT_EQ(outline(pdf), (QStringList{titles[0] + u"@1"_s, titles[1] + u"@2"_s, titles[2] + u"@3"_s}));
    EXPECT_EQ(readers::pdfPictures(pdf), (QList<std::array<int, 3>>{{1, 1, 1}, {1, 17, 13}}));
    EXPECT_TRUE(readers::output(u"pdfinfo"_s, {pdf}).value_or(QString()).contains(u"pts (A4)\n"_s));
    EXPECT_TRUE(readers::output(u"qpdf"_s, {u"--check"_s, pdf}).value_or(QString()).contains(u"No syntax or stream encoding errors found"_s));
    EXPECT_TRUE(bytesOf(pdf).contains("/PageMode /UseOutlines")) << "a reader opens with the outline shown";
    EXPECT_EQ(bytesOf(pdf).count("%%EOF"), 2) << "the drawn file is kept and the outline added after it";
}
