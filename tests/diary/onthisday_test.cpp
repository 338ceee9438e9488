#include "diary/onthisday.h"

#include <gtest/gtest.h>

namespace {

QStringList pages(std::initializer_list<const char *> keys)
{
    QStringList names;
    for (const char *key : keys)
        names.append(QString::fromLatin1(key) + QStringLiteral(".dat"));
    names.sort();
    return names;
}

TEST(OnThisDay, EarlierYearsOfTheSameDayNewestFirst)
{
    const QStringList names = pages({"2019-12-08", "2019-12-09", "2021-12-08", "2023-12-08", "2026-12-08", "2027-12-08",
                                     "2023-12-07", "notes.txt"});
    EXPECT_EQ(onthisday::earlierDays(names, QDate(2026, 12, 8)),
              (QList<QDate>{QDate(2023, 12, 8), QDate(2021, 12, 8), QDate(2019, 12, 8)}));
    // The day itself and later years are not memories.
    EXPECT_TRUE(onthisday::earlierDays(names, QDate(2019, 12, 8)).isEmpty());
    EXPECT_TRUE(onthisday::earlierDays(names, QDate(2026, 12, 10)).isEmpty());
    EXPECT_TRUE(onthisday::earlierDays({}, QDate(2026, 12, 8)).isEmpty());
}

TEST(OnThisDay, LeapDayComesBackOnThe28thOfOtherYears)
{
    const QStringList names = pages({"2020-02-28", "2020-02-29", "2024-02-29", "2025-02-28"});
    EXPECT_EQ(onthisday::earlierDays(names, QDate(2028, 2, 29)), (QList<QDate>{QDate(2024, 2, 29), QDate(2020, 2, 29)}));
    EXPECT_EQ(onthisday::earlierDays(names, QDate(2026, 2, 28)),
              (QList<QDate>{QDate(2025, 2, 28), QDate(2024, 2, 29), QDate(2020, 2, 29), QDate(2020, 2, 28)}));
    // A leap year has its own 29th, so its 28th shows only the 28ths.
    EXPECT_EQ(onthisday::earlierDays(names, QDate(2028, 2, 28)), (QList<QDate>{QDate(2025, 2, 28), QDate(2020, 2, 28)}));
}

} // namespace
