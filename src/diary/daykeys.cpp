#include "daykeys.h"

#include <QLocale>
#include <QRegularExpression>

namespace daykeys {

namespace {
const QString kFileSuffix = QStringLiteral(".dat");

QString monthName(int month)
{
    return QLocale().monthName(month, QLocale::ShortFormat);
}
} // namespace

MonthDay monthDay(QDate date)
{
    return {date.month(), date.day()};
}

QString dayKey(QDate date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString month(QDate date)
{
    return monthName(date.month());
}

QString noteKey(QDate date)
{
    return noteKey(monthDay(date));
}

QString noteKey(MonthDay monthDay)
{
    return monthName(monthDay.month) + QLatin1Char('-') + QString::number(monthDay.day);
}

std::optional<QDate> dateFromDayKey(QStringView key)
{
    if (key.size() != 10)
        return std::nullopt;
    const QDate date = QDate::fromString(key.toString(), QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString fileName(const QString &key)
{
    return key + kFileSuffix;
}

QString pageFileName(QDate date)
{
    return fileName(dayKey(date));
}

QString noteFileName(MonthDay monthDay)
{
    return fileName(noteKey(monthDay));
}

QString keyFromFileName(QStringView name)
{
    return name.endsWith(kFileSuffix) ? name.chopped(kFileSuffix.size()).toString() : QString();
}

std::optional<QDate> dateFromFileName(QStringView name)
{
    return dateFromDayKey(keyFromFileName(name));
}

// By hand rather than by QDate::fromString: this runs for every file of a century of pages.
bool isPageFileName(QStringView name)
{
    if (name.size() != 14 || !name.endsWith(kFileSuffix) || name[4] != QLatin1Char('-') || name[7] != QLatin1Char('-'))
        return false;
    const auto number = [name](qsizetype from, qsizetype length) {
        int value = 0;
        for (const QChar c : name.sliced(from, length)) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return -1;
            value = value * 10 + (c.unicode() - '0');
        }
        return value;
    };
    const int year = number(0, 4);
    return year > 0 && QDate(year, number(5, 2), number(8, 2)).isValid();
}

QString shortDateFormat()
{
    static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
    return QLocale().dateFormat(QLocale::ShortFormat).replace(twoDigitYear, QStringLiteral("yyyy"));
}

QString shortDate(QDate date)
{
    return QLocale().toString(date, shortDateFormat());
}

std::optional<QDate> fromShortDate(QStringView text)
{
    const QDate date = QLocale().toDate(text.toString(), shortDateFormat());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<MonthDay> monthDayFromNoteKey(QStringView key)
{
    // Split at the last hyphen: some locales' abbreviated month names hold one.
    const qsizetype hyphen = key.lastIndexOf(QLatin1Char('-'));
    if (hyphen <= 0)
        return std::nullopt;
    const QStringView name = key.left(hyphen);
    const QStringView dayText = key.sliced(hyphen + 1);
    if (dayText.isEmpty() || dayText.startsWith(QLatin1Char('0')))
        return std::nullopt;
    bool numeric = false;
    const int day = dayText.toInt(&numeric);
    if (!numeric || day < 1)
        return std::nullopt;
    const QLocale locale;
    for (int m = 1; m <= 12; ++m) {
        if (locale.monthName(m, QLocale::ShortFormat) == name && day <= QDate(2000, m, 1).daysInMonth())
            return MonthDay{m, day};
    }
    return std::nullopt;
}

} // namespace daykeys
