#include "export/markdownpage.h"
#include "export/rangeexport.h"
#include "export/rangepages.h"
#include "pictures.h"
#include "readers.h"
#include "testdataroot.h"

#include "diskfull.h"

#include "diary/pagestore.h"
#include "richtext/rtfreader.h"
#include "richtext/rtftext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTextDocument>

#include <gtest/gtest.h>

using readers::names;
using rangeexport::Format;
using namespace Qt::StringLiterals;

namespace {

// The page's RTF, once stored.
QByteArray store(const DataRoot &root, const QString &dayKey, const QByteArray &body)
{
    const QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\\viewkind4\\uc1 " + body + "}";
    EXPECT_TRUE(pagestore::save(root, *daykeys::dateFromDayKey(dayKey), rtf)) << dayKey.toStdString();
    return rtf;
}

// A PNG or JPEG picture as a page holds it.
QByteArray pictureGroup(const QByteArray &bytes, const char *blip, QSize pixels)
{
    return QByteArray("{\\pict\\") + blip + "\\picw" + QByteArray::number(pixels.width()) + "\\pich" + QByteArray::number(pixels.height()) + "\r\n"
           + testpictures::hexLines(bytes) + "}";
}

// Four days around the range, one of them with a drawing and a photograph.
class RangeExport : public testing::Test
{
protected:
    RangeExport()
    {
        store(data.root(), u"2024-03-04"_s, "before the range\\par");
        store(data.root(), u"2024-03-05"_s, "Morning {\\b bold} and {\\i italic}, {\\ul under} {\\strike struck}\\par " + pictureGroup(png, "pngblip", {12, 8})
                                                 + " between " + pictureGroup(jpeg, "jpegblip", {160, 120}) + "\\par");
        sixth = store(data.root(), u"2024-03-06"_s, "# not a heading\\line * nor a list, 2*3 [x](y)\\par   indented <b>\\par");
        // Long enough to need several sheets.
        store(data.root(), u"2024-03-08"_s, "after the range\\par" + QByteArray("\\pard a long day by the sea\\par\r\n").repeated(150));
    }

    TestDataRoot data;
    QTemporaryDir scratch;
    QByteArray png = testpictures::encoded(testpictures::drawing(), "png");
    QByteArray jpeg = testpictures::encoded(testpictures::photograph(), "jpeg");
    QByteArray sixth;
};

} // namespace

TEST_F(RangeExport, StoppedRefusedOrFailedLeavesNothingNewOrTheOldFile)
{
    const auto stopAtSecond = [](int done, int) { return done < 2; };
    EXPECT_EQ(rangeexport::exportRange(data.root(), {Format::Markdown, {}, {}, scratch.filePath(u"made/here"_s)}, stopAtSecond).error(),
              u"the export was stopped"_s);

    const QString mine = scratch.filePath(u"mine"_s);
    ASSERT_TRUE(QDir().mkpath(mine));
    for (const bool oneFile : {false, true})
        EXPECT_FALSE(rangeexport::exportRange(data.root(), {Format::Markdown, {}, {}, mine, oneFile}, stopAtSecond));
    {
        // Room for the first page and its drawing, not for its photograph.
        const DiskFull full(600);
        EXPECT_FALSE(rangeexport::exportRange(data.root(), {Format::Markdown, QDate(2024, 3, 5), {}, mine}));
    }
    EXPECT_TRUE(QFileInfo(mine).isDir() && names(mine).isEmpty()) << names(mine).join(u' ').toStdString();

    const QString file = data.root().pagePath(u"2024-03-04"_s);
    EXPECT_EQ(rangeexport::exportRange(data.root(), {Format::Markdown, {}, {}, file}).error(), file + u" is not a folder"_s);
    EXPECT_FALSE(rangeexport::exportRange(data.root(), {Format::Markdown, {}, {}, u"/proc/quillnest-export"_s}));
    EXPECT_EQ(rangeexport::exportRange(data.root(), {Format::Markdown, QDate(2030, 1, 1), {}, scratch.filePath(u"unmade"_s)}).error(),
              u"no page between 2030-01-01 and the last day"_s);

    // A PDF stopped or failed leaves the old file and no part beside it.
    const QString pdf = mine + u"/range.pdf"_s;
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("the old export") > 0);
    old.close();
    EXPECT_EQ(rangeexport::exportRange(data.root(), {Format::Pdf, {}, {}, pdf}, stopAtSecond).error(), u"the export was stopped"_s);
    {
        const DiskFull full(20000);
        EXPECT_FALSE(rangeexport::exportRange(data.root(), {Format::Pdf, {}, {}, pdf}));
    }
    EXPECT_EQ(rangeexport::exportRange(data.root(), {Format::Pdf, {}, {}, mine + u"/no/such.pdf"_s}).error(),
              mine + u"/no: the folder does not exist"_s);
    EXPECT_EQ(rangeexport::exportRange(data.root(), {Format::Pdf, {}, {}, mine}).error(), mine + u" is a folder"_s);
    EXPECT_EQ(std::pair(readBytes(pdf), names(mine)), std::pair(QByteArray("the old export"), QStringList{u"range.pdf"_s}));
    EXPECT_EQ(names(scratch.path()), QStringList{u"mine"_s}) << "the folders it made go too";
}

// In Russian, so the outline holds titles beyond Latin-1.
TEST_F(RangeExport, MarkdownAndPdfHoldEachDayOfTheRangeWithItsPicturesAndOneMarkdownFileHoldsAllInOrder)
{
    const Outcome one = rangeexport::exportRange(data.root(), {Format::Markdown, {}, {}, scratch.path(), true});
    ASSERT_TRUE(one) << one.error().toStdString();
    QStringList headings = QString::fromUtf8(readBytes(scratch.filePath(rangeexport::kOneFileName))).split(u'\n');
    headings.removeIf([](const QString &line) { return !line.startsWith(u"# "_s); });
    EXPECT_EQ(headings.join(u'|'), u"# %1|# %2|# %3|# %4"_s.arg(rangeexport::dayTitle(QDate(2024, 3, 4)), rangeexport::dayTitle(QDate(2024, 3, 5)), rangeexport::dayTitle(QDate(2024, 3, 6)), rangeexport::dayTitle(QDate(2024, 3, 8))));

    const QString out = scratch.filePath(u"new/md"_s);
    const Outcome done = rangeexport::exportRange(data.root(), {Format::Markdown, QDate(2024, 3, 5), QDate(2024, 3, 7), out});
    ASSERT_TRUE(done) << done.error().toStdString();
    EXPECT_EQ(names(out), (QStringList{u"2024-03-05.md"_s, u"2024-03-06.md"_s, u"images"_s}));
    EXPECT_EQ(names(out + u"/images"_s), (QStringList{u"2024-03-05-1.png"_s, u"2024-03-05-2.jpg"_s}));
    EXPECT_EQ(std::pair(readBytes(out + u"/images/2024-03-05-1.png"_s), readBytes(out + u"/images/2024-03-05-2.jpg"_s)), std::pair(png, jpeg))
        << "the stored bytes, not a new encoding";

    const QString fifth = QString::fromUtf8(readBytes(out + u"/2024-03-05.md"_s));
    EXPECT_TRUE(fifth.startsWith(u"# "_s + rangeexport::dayTitle(QDate(2024, 3, 5)) + u"\n\nMorning **bold** and *italic*, <u>under</u> ~~struck~~\n\n"_s))
        << fifth.toStdString();
    EXPECT_TRUE(fifth.contains(u"![2024-03-05 picture 1](images/2024-03-05-1.png) between ![2024-03-05 picture 2](images/2024-03-05-2.jpg)"_s))
        << fifth.toStdString();
    if (const QStringList absent = readers::missing({u"pandoc"_s, u"pdftotext"_s, u"pdfimages"_s, u"pdfinfo"_s, u"qpdf"_s}); !absent.isEmpty())
        GTEST_SKIP() << "not installed: " << absent.join(u' ').toStdString();
    // What pandoc reads back of a page's Markdown: the heading, then the page's text.
    const QString readBack = readers::markdownAsText(QString::fromUtf8(readBytes(out + u"/2024-03-06.md"_s)));
    EXPECT_EQ(readers::folded(readBack.section(u'\n', 1)), readers::folded(richtext::visibleText(sixth)));
    EXPECT_EQ(readBack.section(u'\n', 0, 0), rangeexport::dayTitle(QDate(2024, 3, 6)));
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    const QString pdf = scratch.filePath(u"range.pdf"_s);
    const Outcome printed = rangeexport::exportRange(data.root(), {Format::Pdf, QDate(2024, 3, 5), QDate(2024, 3, 8), pdf});
    QStringList titles;
    for (const int day : {5, 6, 8})
        titles.append(rangeexport::dayTitle(QDate(2024, 3, day)));
    QLocale::setDefault(before);
    ASSERT_TRUE(printed) << printed.error().toStdString();
    ASSERT_TRUE(std::ranges::any_of(titles[0], [](QChar c) { return c.unicode() > 0xff; })) << titles[0].toStdString();
    const QStringList sheets = readers::pdfSheets(pdf);
    ASSERT_GT(sheets.size(), 3);
    EXPECT_TRUE(sheets[0].startsWith(titles[0] + u"\nMorning bold"_s) && sheets[1].startsWith(titles[1] + u"\n# not a heading"_s)
                && sheets[2].startsWith(titles[2] + u"\nafter the range"_s)) << sheets.join(u'\f').toStdString();
    EXPECT_EQ(std::pair(sheets.join(u'\f').count(u"a long day by the sea"_s), sheets.join(u'\f').count(u"before the range"_s)), std::pair(qsizetype(150), qsizetype(0)));
    // The outline's titles, each with the sheet it points at (from 1).
    QStringList outline;
    for (const QJsonValue item : QJsonDocument::fromJson(readers::output(u"qpdf"_s, {u"--json"_s, u"--json-key=outlines"_s, pdf}).value_or(QString()).toUtf8())[u"outlines"_s].toArray())
        outline.append(item[u"title"_s].toString() + u'@' + QString::number(item[u"destpageposfrom1"_s].toInt()));
    EXPECT_EQ(outline, (QStringList{titles[0] + u"@1"_s, titles[1] + u"@2"_s, titles[2] + u"@3"_s}));
    EXPECT_EQ(readers::pdfPictures(pdf), (QList<std::array<int, 3>>{{1, 1, 1}, {1, 17, 13}}));
    EXPECT_TRUE(readers::output(u"pdfinfo"_s, {pdf}).value_or(QString()).contains(u"pts (A4)\n"_s));
    EXPECT_TRUE(readBytes(pdf).contains("/PageMode /UseOutlines")) << "a reader opens with the outline shown";
    EXPECT_EQ(readBytes(pdf).count("%%EOF"), 2) << "the drawn file is kept and the outline added after it";
}

// Each case of the data file: a line "== why", the page's RTF on one line
// (PICTURE stands for a PNG), then its Markdown.
TEST(MarkdownPage, MarksHugTheirWordsPicturesStandOutsideThemAndARuleStaysARule)
{
    const QByteArray picture = pictureGroup(testpictures::encoded(testpictures::drawing(), "png"), "pngblip", {12, 8});
    const QStringList cases = QString::fromUtf8(readBytes(QStringLiteral(EXPORT_DATA "/markdownpages.txt"))).chopped(1).split(QStringLiteral("\n==")).mid(1);
    ASSERT_EQ(cases.size(), 11);
    for (const QString &each : cases) {
        const QStringList lines = each.split(u'\n');
        QTextDocument document;
        EXPECT_TRUE(richtext::readRtf(lines[1].toUtf8().replace("PICTURE", picture), document));
        const QString written = markdown::fromDocument(document, [](const QTextImageFormat &) {
            return markdown::LinkedPicture{QStringLiteral("a picture"), QStringLiteral("p.png")};
        });
        EXPECT_EQ(written, lines.mid(2).join(u'\n')) << lines[0].trimmed().toStdString();
    }
}
