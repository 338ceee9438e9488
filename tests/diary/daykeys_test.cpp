#include "diary/daykeys.h"

#include <QLocale>

#include <gtest/gtest.h>

class DayKeys : public ::testing::Test
{
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
};

TEST_F(DayKeys, FormsOfADay)
{
    const QDate day(2024, 3, 5);
    EXPECT_EQ(daykeys::dayKey(day), QStringLiteral("2024-03-05"));
    EXPECT_EQ(daykeys::noteKey(day), QStringLiteral("Mar-5"));
    EXPECT_EQ(daykeys::noteKey(QDate(2026, 12, 24)), QStringLiteral("Dec-24"));
    EXPECT_EQ(daykeys::month(day), QStringLiteral("Mar"));
}

TEST_F(DayKeys, BackFromKeys)
{
    EXPECT_EQ(daykeys::dateFromDayKey(u"2024-02-29"), QDate(2024, 2, 29));
    EXPECT_FALSE(daykeys::dateFromDayKey(u"2023-02-29"));
    EXPECT_FALSE(daykeys::dateFromDayKey(u"2024-3-5"));
    EXPECT_FALSE(daykeys::dateFromDayKey(u"notes.txt"));

    using MD = daykeys::MonthDay;
    EXPECT_EQ(daykeys::monthDayFromNoteKey(u"Feb-29"), (MD{2, 29}));
    EXPECT_EQ(daykeys::monthDayFromNoteKey(u"Dec-4"), (MD{12, 4}));
    EXPECT_FALSE(daykeys::monthDayFromNoteKey(u"Dec-04"));
    EXPECT_FALSE(daykeys::monthDayFromNoteKey(u"Apr-31"));
    EXPECT_FALSE(daykeys::monthDayFromNoteKey(u"Foo-3"));
    EXPECT_FALSE(daykeys::monthDayFromNoteKey(u"Dec-"));
}

TEST_F(DayKeys, FollowTheLocalesMonthNames)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString key = daykeys::noteKey(QDate(2026, 3, 9));
    EXPECT_EQ(key, QLocale().monthName(3, QLocale::ShortFormat) + QStringLiteral("-9"));
    EXPECT_EQ(daykeys::monthDayFromNoteKey(key), (daykeys::MonthDay{3, 9}));
}

TEST_F(DayKeys, ShortDatesReadBackToTheSameDay)
{
    for (const QLocale &locale : {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::German, QLocale::Germany),
                                 QLocale(QLocale::English, QLocale::UnitedKingdom), QLocale(QLocale::Japanese, QLocale::Japan)}) {
        QLocale::setDefault(locale);
        for (const QDate day : {QDate(1905, 6, 30), QDate(2026, 12, 4), QDate(2031, 1, 9)}) {
            const QString text = daykeys::shortDate(day);
            EXPECT_TRUE(text.contains(QString::number(day.year()))) << text.toStdString();
            EXPECT_EQ(daykeys::fromShortDate(text), day) << text.toStdString();
        }
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(daykeys::shortDate(QDate(2026, 12, 4)), QStringLiteral("12/4/2026"));
    EXPECT_FALSE(daykeys::fromShortDate(u"not a day"));
}
