#include "diary/scramble.h"

#include <gtest/gtest.h>

// The shift is part of every stored file, so the bytes are written out here.
TEST(Scramble, ShiftsEveryByteByFourteenAndRefusesWhatWouldPass255)
{
    EXPECT_EQ(ScrambleLine("Ab{"), QByteArray("Op\x89"));
    EXPECT_EQ(ScrambleLine(""), QByteArray());
    EXPECT_EQ(ScrambleLine("\xf1"), QByteArray("\xff"));
    EXPECT_FALSE(ScrambleLine("ok\xf2").has_value());
    EXPECT_EQ(ScrambleDroppingHigh("o\xf2k\xff"), QByteArray("}y"));
}

TEST(Scramble, UnscrambleUndoesScrambleAndDropsBytesBelowTheOffset)
{
    QByteArray every;
    for (int b = 0; b <= 255 - kScrambleOffset; ++b)
        every.append(static_cast<char>(b));
    EXPECT_EQ(UnscrambleLine(*ScrambleLine(every)), every);

    const QByteArray stored = QByteArray(1, char(kScrambleOffset - 1)) + char('x' + kScrambleOffset) + char(0);
    EXPECT_EQ(UnscrambleLine(stored), QByteArray("x"));

    // No line-length limit.
    const QByteArray longLine(100000, 'q');
    EXPECT_EQ(UnscrambleLine(*ScrambleLine(longLine)), longLine);
}

TEST(Scramble, SplitLinesAtCrLfAndLoneCrButNotLoneLf)
{
    using L = QList<QByteArrayView>;
    EXPECT_EQ(splitLines(""), L());
    EXPECT_EQ(splitLines("abc"), L({"abc"}));
    EXPECT_EQ(splitLines("abc\r\n"), L({"abc"}));
    EXPECT_EQ(splitLines("abc\r\n\r\n"), L({"abc", ""}));
    EXPECT_EQ(splitLines("a\rb\r\nc"), L({"a", "b", "c"}));
    EXPECT_EQ(splitLines("a\nb\r"), L({"a\nb"}));
    EXPECT_EQ(splitLines("\r\r"), L({"", ""}));
}
