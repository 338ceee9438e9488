#include "sync/threeway.h"

#include <gtest/gtest.h>

namespace {

QStringList lines(const char *text)
{
    return QString::fromLatin1(text).split(u'|', Qt::SkipEmptyParts);
}

struct Row
{
    const char *label;
    const char *base;
    const char *ours;
    const char *theirs;
    const char *merged; // nullptr: the user is asked
};

const Row kRows[] = {
    {"both appended", "a|b", "a|b|c", "a|b|d", "a|b|c|d"},
    {"one side alone changed", "a|b", "a|b", "a|B|c", "a|B|c"},
    {"the same change on both", "a|b|c", "a|B|c", "a|B|c", "a|B|c"},
    {"different paragraphs changed", "a|b|c|d", "a|B|c|d", "a|b|c|D", "a|B|c|D"},
    {"neighbouring paragraphs changed", "a|b|c", "a|B|c", "a|b|C", "a|B|C"},
    {"added before a paragraph the other changed", "a|b|c", "a|x|b|c", "a|B|c", "a|x|B|c"},
    {"first changed, end appended", "a|b", "A|b", "a|b|c", "A|b|c"},
    {"both wrote a first page", "", "x", "y", "x|y"},
    {"the same paragraph changed differently", "a|b|c", "a|B|c", "a|b2|c", nullptr},
    {"added inside what the other changed", "a|b|c|d", "a|b|x|c|d", "a|B|C|d", nullptr},
    {"a paragraph removed", "a|b|c", "a|c", "a|b|c|d", nullptr},
};

} // namespace

TEST(ThreeWay, ChangesToDifferentParagraphsAndAdditionsMergeWhileClashesAndRemovalsAreLeftToTheUser)
{
    for (const Row &row : kRows) {
        SCOPED_TRACE(row.label);
        const auto merged = threeway::merge(lines(row.base), lines(row.ours), lines(row.theirs));
        ASSERT_EQ(merged.has_value(), row.merged != nullptr);
        if (merged) {
            EXPECT_EQ(*merged, lines(row.merged));
        }
    }
}

TEST(ThreeWay, WithoutTheirCommonVersionTheSideHoldingTheOtherIsKept)
{
    EXPECT_EQ(threeway::containing(lines("a|b"), lines("a|x|b|y")), lines("a|x|b|y"));
    EXPECT_EQ(threeway::containing(lines("a|x|b"), lines("a|b")), lines("a|x|b"));
    EXPECT_EQ(threeway::containing(lines("a|b"), lines("a|c")), std::nullopt);

    QStringList long1, long2;
    for (int i = 0; i <= threeway::kLongestCompared; ++i) {
        long1 << QString::number(i);
        long2 << QString::number(-i - 1);
    }
    EXPECT_EQ(threeway::containing(long1, long1 + long2), long1 + long2) << "a shared start is not compared";
    EXPECT_EQ(threeway::merge(long1, long2, long1), std::nullopt) << "too long to compare";
}
