#include "export/rangeexport.h"
#include "export/rangepages.h"
#include "pictures.h"
#include "readers.h"
#include "samplepages.h"
#include "testdataroot.h"

#include "diskfull.h"

#include "richtext/rtftext.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using readers::bytesOf;
using readers::names;
using rangeexport::Format;

namespace {

QString heading(QDate date)
{
    return QStringLiteral("# ") + rangeexport::dayTitle(date);
}

// The text pandoc reads from a page's Markdown, less the heading and the
// pictures, which plain text shows as their descriptions in brackets.
QString readBack(const QString &markdown)
{
    static const QRegularExpression pictures(QStringLiteral("\\[\\d{4}-\\d\\d-\\d\\d picture \\d+\\]"));
    return readers::folded(readers::markdownAsText(markdown).remove(pictures).section(u'\n', 1));
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
        samplepages::store(data.root(), QStringLiteral("2024-03-04"), "before the range\\par");
        fifth = samplepages::store(data.root(), QStringLiteral("2024-03-05"),
                                   "Morning {\\b bold} and {\\i italic}, {\\ul under} {\\strike struck}\\par "
                                       + samplepages::pictureGroup(png, "pngblip", {12, 8}) + " between "
                                       + samplepages::pictureGroup(jpeg, "jpegblip", {160, 120}) + "\\par");
        sixth = samplepages::store(data.root(), QStringLiteral("2024-03-06"),
                                   "# not a heading\\line * nor a list, 2*3 [x](y)\\par   indented <b>\\par");
        samplepages::store(data.root(), QStringLiteral("2024-03-08"), "after the range\\par");
    }
};

} // namespace

TEST(RangeExport, MarkdownHoldsEachDayOfTheRangeWithItsPictures)
{
    Diary diary;
    QTemporaryDir scratch;
    const QString out = scratch.filePath(QStringLiteral("new/md"));
    QList<std::pair<int, int>> calls;
    const auto record = [&](int done, int total) {
        calls.append({done, total});
        return true;
    };
    const Outcome done = rangeexport::exportRange(diary.data.root(), {Format::Markdown, QDate(2024, 3, 5), QDate(2024, 3, 7), out}, record);
    ASSERT_TRUE(done) << done.error().toStdString();
    EXPECT_EQ(calls, (QList<std::pair<int, int>>{{1, 2}, {2, 2}}));
    EXPECT_EQ(names(out), (QStringList{QStringLiteral("2024-03-05.md"), QStringLiteral("2024-03-06.md"), QStringLiteral("images")}));
    EXPECT_EQ(names(out + QStringLiteral("/images")), (QStringList{QStringLiteral("2024-03-05-1.png"), QStringLiteral("2024-03-05-2.jpg")}));
    EXPECT_EQ(bytesOf(out + QStringLiteral("/images/2024-03-05-1.png")), diary.png) << "the stored bytes, not a new encoding";
    EXPECT_EQ(bytesOf(out + QStringLiteral("/images/2024-03-05-2.jpg")), diary.jpeg);

    const QString fifth = QString::fromUtf8(bytesOf(out + QStringLiteral("/2024-03-05.md")));
    EXPECT_TRUE(fifth.startsWith(heading(QDate(2024, 3, 5)) + QStringLiteral("\n\nMorning **bold** and *italic*, <u>under</u> ~~struck~~\n\n")))
        << fifth.toStdString();
    EXPECT_TRUE(fifth.contains(QStringLiteral("![2024-03-05 picture 1](images/2024-03-05-1.png) between "
                                              "![2024-03-05 picture 2](images/2024-03-05-2.jpg)")))
        << fifth.toStdString();
    const QString sixth = QString::fromUtf8(bytesOf(out + QStringLiteral("/2024-03-06.md")));
    if (const QStringList absent = readers::missing({QStringLiteral("pandoc")}); !absent.isEmpty())
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
    const QString made = scratch.filePath(QStringLiteral("made/here"));
    EXPECT_EQ(rangeexport::exportRange(diary.data.root(), {Format::Markdown, {}, {}, made}, stopAtSecond).error(),
              QStringLiteral("the export was stopped"));
    EXPECT_FALSE(QFileInfo::exists(scratch.filePath(QStringLiteral("made")))) << "the folders it made go too";

    const QString mine = scratch.filePath(QStringLiteral("mine"));
    ASSERT_TRUE(QDir().mkpath(mine));
    for (const bool oneFile : {false, true})
        EXPECT_FALSE(rangeexport::exportRange(diary.data.root(), {Format::Markdown, {}, {}, mine, oneFile}, stopAtSecond));
    {
        // Room for the first page and its drawing, not for its photograph.
        const DiskFull full(600);
        EXPECT_FALSE(rangeexport::exportRange(diary.data.root(), {Format::Markdown, QDate(2024, 3, 5), {}, mine}));
    }
    EXPECT_TRUE(QFileInfo(mine).isDir() && names(mine).isEmpty()) << names(mine).join(u' ').toStdString();

    const QString file = diary.data.root().pagePath(QStringLiteral("2024-03-04"));
    EXPECT_EQ(rangeexport::exportRange(diary.data.root(), {Format::Markdown, {}, {}, file}).error(), file + QStringLiteral(" is not a folder"));
    EXPECT_FALSE(rangeexport::exportRange(diary.data.root(), {Format::Markdown, {}, {}, QStringLiteral("/proc/quillnest-export")}));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/proc/quillnest-export")));

    const QString unmade = scratch.filePath(QStringLiteral("unmade"));
    EXPECT_EQ(rangeexport::exportRange(diary.data.root(), {Format::Markdown, QDate(2030, 1, 1), {}, unmade}).error(),
              QStringLiteral("no page between 2030-01-01 and the last day"));
    EXPECT_EQ(rangeexport::exportRange(diary.data.root(), {Format::Pdf, QDate(2024, 3, 7), QDate(2024, 3, 7), unmade}).error(),
              QStringLiteral("no page between 2024-03-07 and 2024-03-07"));
    EXPECT_FALSE(QFileInfo::exists(unmade));

    // A PDF stopped or failed leaves the old file and no part beside it.
    const QString pdf = mine + QStringLiteral("/range.pdf");
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("the old export") > 0);
    old.close();
    EXPECT_EQ(rangeexport::exportRange(diary.data.root(), {Format::Pdf, {}, {}, pdf}, stopAtSecond).error(), QStringLiteral("the export was stopped"));
    {
        const DiskFull full(20000);
        EXPECT_FALSE(rangeexport::exportRange(diary.data.root(), {Format::Pdf, {}, {}, pdf}));
    }
    EXPECT_EQ(rangeexport::exportRange(diary.data.root(), {Format::Pdf, {}, {}, mine + QStringLiteral("/no/such.pdf")}).error(),
              mine + QStringLiteral("/no: the folder does not exist"));
    EXPECT_EQ(rangeexport::exportRange(diary.data.root(), {Format::Pdf, {}, {}, mine}).error(), mine + QStringLiteral(" is a folder"));
    EXPECT_FALSE(rangeexport::exportRange(diary.data.root(), {Format::Pdf, {}, {}, QStringLiteral("/proc/quillnest.pdf")}));
    EXPECT_EQ(bytesOf(pdf), QByteArray("the old export"));
    EXPECT_EQ(names(mine), QStringList{QStringLiteral("range.pdf")});
}
