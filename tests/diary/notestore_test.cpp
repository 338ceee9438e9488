#include "diary/notestore.h"

#include "diskfull.h"
#include "testdataroot.h"

#include <gtest/gtest.h>

namespace {
const daykeys::MonthDay kKey{12, 4};
const QString kFile = QStringLiteral("dates/Dec-4.dat");
} // namespace

TEST(NoteStore, SavedTextHasCrLfLinesAndOneMoreCrLf)
{
    TestDataRoot data;
    ASSERT_TRUE(notestore::save(data.root(), kKey, QString::fromUtf8("Mum’s birthday\nbuy €20 flowers")));
    EXPECT_EQ(data.readFile(kFile), QByteArray("Mum\x92s birthday\r\nbuy \x80" "20 flowers\r\n"));

    ASSERT_TRUE(notestore::save(data.root(), kKey, u"a\r\nb\rc\u2028d\u2029e\n\r"));
    EXPECT_EQ(data.readFile(kFile), QByteArray("a\r\nb\r\nc\r\nd\r\ne\r\n\r\n\r\n"));

    ASSERT_TRUE(notestore::save(data.root(), kKey, u""));
    EXPECT_EQ(data.readFile(kFile), QByteArray("\r\n"));
    EXPECT_TRUE(notestore::exists(data.root(), kKey));

    ASSERT_TRUE(notestore::save(data.root(), kKey, QString::fromUtf8("Ωmega")));
    EXPECT_EQ(data.readFile(kFile), QByteArray("?mega\r\n"));
}

TEST(NoteStore, SaveAndLoadNeverGrowANote)
{
    TestDataRoot data;
    QString text = QStringLiteral("line one\n\nline three\n");
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(notestore::save(data.root(), kKey, text));
        text = notestore::decodeNote(*notestore::load(data.root(), kKey)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    EXPECT_EQ(text, QStringLiteral("line one\n\nline three\n"));
    EXPECT_FALSE(notestore::load(data.root(), daykeys::MonthDay{12, 5}).has_value());
}

TEST(NoteStore, DecodesWindows1252OrUtf8AfterAByteOrderMark)
{
    EXPECT_EQ(notestore::decodeNote("caf\xE9"), QString::fromUtf8("café"));
    EXPECT_EQ(notestore::decodeNote("\xEF\xBB\xBF" "caf\xC3\xA9"), QString::fromUtf8("café"));
    // A note whose Windows-1252 bytes would open as such a mark still reads back as typed.
    for (const QString &typed : {QString::fromUtf8("ÿþAnna"), QString::fromUtf8("þÿ"), QString::fromUtf8("ï»¿x")}) {
        const QByteArray stored = notestore::encodeNote(typed);
        EXPECT_EQ(notestore::decodeNote(QByteArrayView(stored).chopped(2)), typed) << stored.toHex().constData();
    }
}

TEST(NoteStore, AFailedSaveKeepsTheOldNote)
{
    TestDataRoot data;
    ASSERT_TRUE(notestore::save(data.root(), kKey, u"old note"));
    {
        const DiskFull full(16);
        EXPECT_FALSE(notestore::save(data.root(), kKey, QString(5000, QLatin1Char('n'))));
    }
    EXPECT_EQ(data.readFile(kFile), QByteArray("old note\r\n"));
    EXPECT_EQ(data.everyName(QStringLiteral("dates")), QStringList{QStringLiteral("Dec-4.dat")});

    ASSERT_TRUE(notestore::remove(data.root(), kKey));
    EXPECT_FALSE(notestore::exists(data.root(), kKey));
    EXPECT_FALSE(notestore::remove(data.root(), kKey));
}
