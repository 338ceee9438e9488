#pragma once

#include <QCalendarWidget>

// The month calendar: dateChosen() reports only the user's own changes,
// never the program's settings of the date.
class MonthCalendar : public QCalendarWidget
{
    Q_OBJECT

public:
    explicit MonthCalendar(QWidget *parent = nullptr);

    QDate date() const { return selectedDate(); }
    void setDate(QDate date);
    void markBold(QDate date);
    bool isBold(QDate date) const;
    void clearBold(QDate date);

signals:
    void dateChosen();

private:
    bool m_settingDate = false;
};
