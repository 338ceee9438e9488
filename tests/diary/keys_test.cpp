#include "diary/daykeys.h"
#include "diary/onthisday.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// Note keys follow the locale's month names, and a short date reads back to the same day in any locale.
TEST(DayKeys, FormsOfADayInEveryLocaleAndBackFromKeys)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(std::tuple(daykeys::noteKey(QDate(2026, 12, 24)), daykeys::month(QDate(2024, 3, 5)), daykeys::shortDate(QDate(2026, 12, 4)),
                         daykeys::fromShortDate(u"not a day"), daykeys::dateFromDayKey(u"2024-02-29")),
              std::tuple(u"Dec-24"_s, u"Mar"_s, u"12/4/2026"_s, std::nullopt, QDate(2024, 2, 29)));
    for (const char16_t *wrong : {u"2023-02-29", u"2024-3-5", u"notes.txt"})
        EXPECT_FALSE(daykeys::dateFromDayKey(wrong));
    for (const auto &[key, day] : {std::pair(u"Feb-29", std::optional(daykeys::MonthDay{2, 29})), {u"Dec-4", daykeys::MonthDay{12, 4}},
                                   {u"Dec-04", std::nullopt}, {u"Apr-31", std::nullopt}, {u"Foo-3", std::nullopt}, {u"Dec-", std::nullopt}})
        EXPECT_EQ(daykeys::monthDayFromNoteKey(key), day) << QString::fromUtf16(key).toStdString();

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString key = daykeys::noteKey(QDate(2026, 3, 9));
    EXPECT_EQ(std::pair(key, daykeys::monthDayFromNoteKey(key)), std::pair(QLocale().monthName(3, QLocale::ShortFormat) + u"-9"_s, std::optional(daykeys::MonthDay{3, 9})));
    for (const QLocale &locale : {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::German, QLocale::Germany),
                                 QLocale(QLocale::English, QLocale::UnitedKingdom), QLocale(QLocale::Japanese, QLocale::Japan)}) {
        QLocale::setDefault(locale);
        for (const QDate day : {QDate(1905, 6, 30), QDate(2026, 12, 4), QDate(2031, 1, 9)}) {
            const QString text = daykeys::shortDate(day);
            EXPECT_TRUE(text.contains(QString::number(day.year())) && daykeys::fromShortDate(text) == day) << text.toStdString();
        }
    }
    QLocale::setDefault(QLocale::system());
}

// Earlier years of the same day, newest first; a leap day comes back on the 28th of other years.
TEST(OnThisDay, EarlierYearsOfTheSameDayNewestFirstAndLeapDaysOnThe28th)
{
    const QStringList names = QStringLiteral("2019-12-08.dat 2019-12-09.dat 2020-02-28.dat 2020-02-29.dat 2021-12-08.dat 2023-12-07.dat "
                                             "2023-12-08.dat 2024-02-29.dat 2025-02-28.dat 2026-12-08.dat 2027-12-08.dat notes.txt")
                                  .split(u' ');
    const auto earlier = [&](const QDate &day) { return onthisday::earlierDays(names, day); };
    EXPECT_EQ(earlier(QDate(2026, 12, 8)), (QList<QDate>{QDate(2023, 12, 8), QDate(2021, 12, 8), QDate(2019, 12, 8)}));
    // The day itself and later years are not memories.
    EXPECT_TRUE(earlier(QDate(2019, 12, 8)).isEmpty() && earlier(QDate(2026, 12, 10)).isEmpty());
    EXPECT_EQ(earlier(QDate(2028, 2, 29)), (QList<QDate>{QDate(2024, 2, 29), QDate(2020, 2, 29)}));
    EXPECT_EQ(earlier(QDate(2026, 2, 28)), (QList<QDate>{QDate(2025, 2, 28), QDate(2024, 2, 29), QDate(2020, 2, 29), QDate(2020, 2, 28)}));
    // A leap year has its own 29th, so its 28th shows only the 28ths.
    EXPECT_EQ(earlier(QDate(2028, 2, 28)), (QList<QDate>{QDate(2025, 2, 28), QDate(2020, 2, 28)}));
}
