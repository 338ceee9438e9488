#include "dayfield.h"

#include <QAction>
#include <QCalendarWidget>
#include <QRegularExpression>
#include <QStyle>

namespace {

// A two-digit year would hide which century a diary's day is in.
QString shownFormat(const QLocale &locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

// Single letters read a day or month number with or without its leading zero.
QString withoutLeadingZeros(QString format)
{
    static const QRegularExpression day(QStringLiteral("(?<!d)dd(?!d)"));
    static const QRegularExpression month(QStringLiteral("(?<!M)MM(?!M)"));
    return format.replace(day, QStringLiteral("d")).replace(month, QStringLiteral("M"));
}

} // namespace

QString dayText(QDate day, const QLocale &locale)
{
    return locale.toString(day, shownFormat(locale));
}

QDate dayFromText(const QString &text, const QLocale &locale)
{
    const QStringList formats{withoutLeadingZeros(shownFormat(locale)), QStringLiteral("yyyy-M-d"),
                              QStringLiteral("d MMM yyyy"), QStringLiteral("d MMMM yyyy"),
                              QStringLiteral("MMM d, yyyy"), QStringLiteral("MMMM d, yyyy")};
    // A year of fewer digits would read "26" as the year 26.
    constexpr int kFirstYear = 1000;
    const QString typed = text.simplified();
    for (const QString &format : formats) {
        if (const QDate day = locale.toDate(typed, format); day.isValid() && day.year() >= kFirstYear)
            return day;
    }
    return {};
}

DayField::DayField(QDate day, QWidget *parent) : QLineEdit(parent)
{
    setDay(day);
    QAction *calendar = addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    calendar->setText(tr("Calendar"));
    calendar->setToolTip(tr("Pick the day from a calendar"));
    connect(calendar, &QAction::triggered, this, &DayField::showCalendar);
}

QDate DayField::day() const
{
    return dayFromText(text(), locale());
}

void DayField::setDay(QDate day)
{
    setText(dayText(day, locale()));
}

void DayField::showCalendar()
{
    auto *calendar = new QCalendarWidget(this);
    calendar->setWindowFlags(Qt::Popup);
    calendar->setAttribute(Qt::WA_DeleteOnClose);
    if (const QDate shown = day(); shown.isValid())
        calendar->setSelectedDate(shown);
    const auto pick = [this, calendar](QDate picked) {
        setDay(picked);
        calendar->close();
    };
    connect(calendar, &QCalendarWidget::clicked, this, pick);
    connect(calendar, &QCalendarWidget::activated, this, pick);
    calendar->move(mapToGlobal(rect().bottomLeft()));
    calendar->show();
}
