#include "monthcalendar.h"

#include <QTextCharFormat>

MonthCalendar::MonthCalendar(QWidget *parent) : QCalendarWidget(parent)
{
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setGridVisible(true);
    setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    connect(this, &QCalendarWidget::selectionChanged, this, [this] {
        if (!m_settingDate)
            emit dateChosen();
    });
}

void MonthCalendar::setDate(QDate date)
{
    m_settingDate = true;
    setSelectedDate(date);
    m_settingDate = false;
}

void MonthCalendar::markBold(QDate date)
{
    QTextCharFormat format = dateTextFormat(date);
    format.setFontWeight(QFont::Bold);
    setDateTextFormat(date, format);
}

bool MonthCalendar::isBold(QDate date) const
{
    return dateTextFormat(date).fontWeight() == QFont::Bold;
}

void MonthCalendar::clearBold(QDate date)
{
    QTextCharFormat format = dateTextFormat(date);
    format.clearProperty(QTextFormat::FontWeight);
    setDateTextFormat(date, format);
}
