#pragma once

#include <QDate>
#include <QString>
#include <optional>

// The text forms of a day: the page's key "yyyy-mm-dd", the yearly note's key
// "mmm-d" and the month "mmm", with the locale's abbreviated month names.
namespace daykeys {

// A yearly note's day: it belongs to every year's month and day.
struct MonthDay
{
    int month = 0;
    int day = 0;
    bool operator==(const MonthDay &) const = default;
};
MonthDay monthDay(QDate date);

QString dayKey(QDate date);
QString noteKey(QDate date);
QString noteKey(MonthDay monthDay);
QString month(QDate date);

std::optional<QDate> dateFromDayKey(QStringView key);

// A data file's name is its key and ".dat": "2026-12-04.dat", "Dec-4.dat".
QString fileName(const QString &key);
QString pageFileName(QDate date);
QString noteFileName(MonthDay monthDay);
// The key of a data file's name; empty when the name is not a data file's.
QString keyFromFileName(QStringView name);
// The day of a page file's name; nothing when it names no day.
std::optional<QDate> dateFromFileName(QStringView name);
// "yyyy-mm-dd.dat" of a real day: the only names that are pages.
bool isPageFileName(QStringView name);

// The locale's short date form, always with a four-digit year, so that the
// text reads back to the same day.
QString shortDateFormat();
QString shortDate(QDate date);
std::optional<QDate> fromShortDate(QStringView text);

std::optional<MonthDay> monthDayFromNoteKey(QStringView key);

} // namespace daykeys
