#include "diary/codepage.h"

#include <gtest/gtest.h>

TEST(Codepage, Windows1252IsNotLatin1)
{
    // 0x80-0x9F are real characters in Windows-1252.
    EXPECT_EQ(codepage::decode("\x80\x85\x91\x92\x93\x94\x96\x99\x9F"), QString::fromUtf8("€…‘’“”–™Ÿ"));
    EXPECT_EQ(codepage::encodeExact(QString::fromUtf8("€é’Ÿ")), QByteArray("\x80\xE9\x92\x9F"));
    QByteArray every;
    for (int b = 0; b <= 255; ++b)
        every.append(static_cast<char>(b));
    EXPECT_EQ(codepage::encodeExact(codepage::decode(every)), every);
}

TEST(Codepage, CharactersWithoutACodeFailOrBecomeQuestionMarks)
{
    EXPECT_FALSE(codepage::encodeExact(QString::fromUtf8("Ωmega")).has_value());
    EXPECT_EQ(codepage::encodeLossy(QString::fromUtf8("Ωmega é")), QByteArray("?mega \xE9"));
    EXPECT_EQ(codepage::encodeLossy(QString::fromUtf8("a😀b")), QByteArray("a?b"));
}
