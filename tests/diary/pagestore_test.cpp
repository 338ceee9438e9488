#include "diary/ioreason.h"
#include "diary/keptfile.h"
#include "diary/pagestore.h"
#include "diary/scramble.h"

#include "diskfull.h"
#include "testdataroot.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

const QDate kDay(2024, 3, 5);

} // namespace

TEST(PageStore, StoredBytesAreExact)
{
    // Each line shifted up by 14 and ended by CR LF; a lone LF stays inside its line.
    EXPECT_EQ(pagestore::encodePage("{\\rtf1 abc}"), QByteArray("\x89j\x80\x82t\x3f.opq\x8b\r\n"));
    EXPECT_EQ(pagestore::encodePage("{\\rtf1 abc}\r\n"), QByteArray("\x89j\x80\x82t\x3f.opq\x8b\r\n\r\n"));
    EXPECT_EQ(pagestore::encodePage("a\nb\r\nc"), QByteArray("o\x18p\r\nq\r\n"));
    EXPECT_EQ(pagestore::encodePage("x\ry"), QByteArray("\x86\r\n\x87\r\n"));
    EXPECT_FALSE(pagestore::encodePage(QByteArray("ok") + char(250)).has_value());
}

TEST(PageStore, SaveAndLoadGiveBackTheLinesEachEndedByCrLf)
{
    TestDataRoot data;
    const QByteArray rtf = "{\\rtf1\\ansi\r\n{\\fonttbl{\\f0 Arial;}}\r\n\\pard Dear diary\\par\r\n}";
    ASSERT_TRUE(pagestore::save(data.root(), kDay, rtf));
    EXPECT_TRUE(pagestore::exists(data.root(), kDay));
    EXPECT_EQ(data.readFile(QStringLiteral("pages/2024-03-05.dat")), *pagestore::encodePage(rtf));
    EXPECT_EQ(pagestore::load(data.root(), kDay), rtf + "\r\n");

    // Saving again replaces the whole page.
    ASSERT_TRUE(pagestore::save(data.root(), kDay, "{\\rtf1 short}"));
    EXPECT_EQ(pagestore::load(data.root(), kDay), QByteArray("{\\rtf1 short}\r\n"));
    EXPECT_EQ(data.everyName(QStringLiteral("pages")), QStringList{QStringLiteral("2024-03-05.dat")});
    EXPECT_TRUE(data.everyName(QStringLiteral(".")).filter(QStringLiteral("temp")).isEmpty());

    ASSERT_TRUE(pagestore::remove(data.root(), kDay));
    EXPECT_FALSE(pagestore::exists(data.root(), kDay));
    EXPECT_FALSE(pagestore::load(data.root(), kDay).has_value());
    EXPECT_FALSE(pagestore::remove(data.root(), kDay));
}

TEST(PageStore, LoadDropsBytesBelowTheOffsetAndReadsAnyFile)
{
    TestDataRoot data;
    data.writeFile(QStringLiteral("pages/2024-03-05.dat"), QByteArray("op\x03q\r\n"));
    EXPECT_EQ(pagestore::load(data.root(), kDay), QByteArray("abc\r\n"));
    data.writeFile(QStringLiteral("pages/2024-03-05.dat"), QByteArray());
    EXPECT_EQ(pagestore::load(data.root(), kDay), QByteArray());
}

TEST(PageStore, AFailedSaveLeavesTheOldPageUntouched)
{
    TestDataRoot data;
    ASSERT_TRUE(pagestore::save(data.root(), kDay, "{\\rtf1 the old page}"));
    const QByteArray old = data.readFile(QStringLiteral("pages/2024-03-05.dat"));

    // A byte that cannot be stored fails before any file is touched.
    EXPECT_FALSE(pagestore::save(data.root(), kDay, QByteArray("{\\rtf1 ") + char(255) + "}"));
    EXPECT_EQ(data.readFile(QStringLiteral("pages/2024-03-05.dat")), old);

    {
        const DiskFull full(4096);
        const Outcome saved = pagestore::save(data.root(), kDay, QByteArray(64 * 1024, 'x'));
        EXPECT_EQ(saved.error(), data.root().pagePath(kDay) + QStringLiteral(": The file has grown larger than this disk or system allows."));
    }
    const QString tooLong = QString(300, QLatin1Char('x'));
    const QString tooLongReason = data.root().pagePath(tooLong) + QStringLiteral(": The file name is too long.");
    EXPECT_EQ(keptfile::save(data.root(), data.root().pagePath(tooLong), "{\\rtf1 x}", history::Unkept::Refuse).error().toStdString(), tooLongReason.toStdString());
    EXPECT_EQ(ioreason::unreadable(data.root().pagePath(tooLong)), tooLongReason);
    EXPECT_EQ(data.readFile(QStringLiteral("pages/2024-03-05.dat")), old);
    EXPECT_EQ(data.everyName(QStringLiteral("pages")), QStringList{QStringLiteral("2024-03-05.dat")});

    QDir(data.root().pagesDir()).removeRecursively();
    EXPECT_EQ(pagestore::save(data.root(), QDate(2024, 3, 6), "{\\rtf1 x}").error(),
              data.root().pagesDir() + QStringLiteral(": The file or its folder does not exist."));
    data.writeFile(QStringLiteral("pages"), "a plain file");
    EXPECT_EQ(pagestore::save(data.root(), QDate(2024, 3, 6), "{\\rtf1 x}").error(),
              data.root().pagesDir() + QStringLiteral(": A part of the file's path is not a folder."));
}
