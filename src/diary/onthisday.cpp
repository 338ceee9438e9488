#include "onthisday.h"

#include "daykeys.h"

#include <algorithm>

namespace onthisday {

namespace {

std::optional<int> firstYear(const QStringList &pageNames)
{
    for (const QString &name : pageNames) {
        if (const auto day = daykeys::dateFromFileName(name))
            return day->year();
    }
    return std::nullopt;
}

// The page names of one month and day, year by year, written into one
// string: this runs on every day change, for up to a century of years.
class YearlyName
{
public:
    YearlyName(int month, int day)
        : m_name(daykeys::fileName(QStringLiteral("0000-%1-%2").arg(month, 2, 10, QLatin1Char('0')).arg(day, 2, 10, QLatin1Char('0'))))
    {
    }

    bool listedIn(const QStringList &pageNames, int year)
    {
        for (int digit = 3; digit >= 0; --digit, year /= 10)
            m_name[digit] = QLatin1Char(char('0' + year % 10));
        return std::binary_search(pageNames.cbegin(), pageNames.cend(), m_name);
    }

private:
    QString m_name;
};

} // namespace

QList<QDate> earlierDays(const QStringList &pageNames, QDate day)
{
    QList<QDate> days;
    const auto first = firstYear(pageNames);
    if (!first || !day.isValid())
        return days;
    YearlyName same(day.month(), day.day());
    YearlyName leapDay(2, 29);
    const bool leapDayBetween = day.month() == 2 && day.day() == 28 && !QDate::isLeapYear(day.year());
    for (int year = day.year() - 1; year >= std::max(*first, 1000); --year) {
        if (leapDayBetween && QDate::isLeapYear(year) && leapDay.listedIn(pageNames, year))
            days.append(QDate(year, 2, 29));
        if (QDate(year, day.month(), day.day()).isValid() && same.listedIn(pageNames, year))
            days.append(QDate(year, day.month(), day.day()));
    }
    return days;
}

} // namespace onthisday
