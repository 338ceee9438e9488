#include "diary/passwordfile.h"

#include "diskfull.h"
#include "testdataroot.h"

#include <gtest/gtest.h>

using namespace passwordfile;

TEST(PasswordFile, ScrambleLeavesOutWhatWouldPass255)
{
    EXPECT_EQ(ScramblePassword(u"Ab"), QByteArray("Op"));
    EXPECT_EQ(ScramblePassword(u""), QByteArray());
    // ÿ (255) cannot shift, so it takes no part in the password.
    EXPECT_EQ(ScramblePassword(QString::fromUtf8("seaÿside")), ScramblePassword(u"seaside"));
    EXPECT_NE(ScramblePassword(u"Secret"), ScramblePassword(u"secret"));
    EXPECT_EQ(noPasswordMarker(), QByteArray("|}|s")) << "\"none\", scrambled";
}

TEST(PasswordFile, ReadsOnlyTheFirstLine)
{
    TestDataRoot data;
    const QString path = data.root().passwordFile();
    EXPECT_EQ(readStored(path), QByteArray());
    data.writeFile(QStringLiteral("pw.dat"), QByteArray());
    EXPECT_EQ(readStored(path), QByteArray());
    data.writeFile(QStringLiteral("pw.dat"), "abc\r\nmore\r\n");
    EXPECT_EQ(readStored(path), QByteArray("abc"));
    data.writeFile(QStringLiteral("pw.dat"), "abc\rmore");
    EXPECT_EQ(readStored(path), QByteArray("abc"));
    data.writeFile(QStringLiteral("pw.dat"), "no line end");
    EXPECT_EQ(readStored(path), QByteArray("no line end"));
}

TEST(PasswordFile, WriteReplacesTheFileWithOneLine)
{
    TestDataRoot data;
    const QString path = data.root().passwordFile();
    data.writeFile(QStringLiteral("pw.dat"), "old\r\nsecond line\r\n");
    ASSERT_TRUE(write(path, u"my new pass"));
    EXPECT_EQ(data.readFile(QStringLiteral("pw.dat")), ScramblePassword(u"my new pass") + "\r\n");
    EXPECT_EQ(readStored(path), ScramblePassword(u"my new pass"));
}

TEST(PasswordFile, AFailedWriteKeepsTheOldPassword)
{
    TestDataRoot data;
    const QString path = data.root().passwordFile();
    ASSERT_TRUE(write(path, u"first"));
    const QByteArray old = data.readFile(QStringLiteral("pw.dat"));
    {
        const DiskFull full(2);
        EXPECT_FALSE(write(path, u"a much longer password"));
    }
    EXPECT_EQ(data.readFile(QStringLiteral("pw.dat")), old);
    EXPECT_EQ(data.everyName(QStringLiteral(".")), (QStringList{QStringLiteral("dates"), QStringLiteral("pages"), QStringLiteral("pw.dat")}));
}

TEST(PasswordFile, ANewDiaryHasNoPassword)
{
    EXPECT_EQ(readStored(QStringLiteral(QUILLNEST_SKELETON "/pw.dat")), noPasswordMarker());
}
