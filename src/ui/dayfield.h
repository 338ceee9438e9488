#pragma once

#include <QDate>
#include <QLineEdit>
#include <QLocale>

// A day typed as text or picked from a calendar. QDateEdit edits a day a
// section at a time, and there a typed separator or month name lands in
// the wrong section ("08/12/2026" became a year 1), so this field reads
// the whole text once it is typed.
class DayField : public QLineEdit
{
    Q_OBJECT

public:
    explicit DayField(QDate day, QWidget *parent = nullptr);

    // Invalid while the text names no day.
    QDate day() const;
    void setDay(QDate day);

private:
    void showCalendar();
};

// The locale's short form with a four-digit year: "20/11/2026", "11/20/2026".
QString dayText(QDate day, const QLocale &locale = {});
// That form, with or without leading zeros, yyyy-mm-dd, or the day with the
// month's name: "8 Dec 2026", "December 8, 2026". Invalid for anything else.
QDate dayFromText(const QString &text, const QLocale &locale = {});
