#include "monthcalendar.h"

#include "ui/look.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTextCharFormat>

#include <algorithm>
#include <utility>

namespace {

// Qt's calendar writes the weekends in pure red, the month's name and the
// chosen day in white on the highlight colour, and the neighbouring months'
// days in the disabled grey: all under 4.5:1 on Qt's own light palette or
// a common dark one. Each is moved lighter or darker, from the palette the
// calendar inherits, until it reads; again whenever that palette changes.
void keepColoursReadable(QCalendarWidget &calendar)
{
    QList<std::pair<Qt::DayOfWeek, QColor>> markedDays;
    for (const Qt::DayOfWeek day : {Qt::Monday, Qt::Tuesday, Qt::Wednesday, Qt::Thursday, Qt::Friday, Qt::Saturday, Qt::Sunday}) {
        if (calendar.weekdayTextFormat(day).hasProperty(QTextFormat::ForegroundBrush))
            markedDays.append({day, calendar.weekdayTextFormat(day).foreground().color()});
    }
    followPalette(calendar, [&calendar, markedDays](const QPalette &inherited, QPalette &own) {
        makeSelectionReadable(inherited, own);
        // The neighbouring months' days are drawn in it, though they can be chosen.
        own.setColor(QPalette::Disabled, QPalette::Text,
                     readableAgainst(inherited.color(QPalette::Disabled, QPalette::Text), inherited.color(QPalette::Active, QPalette::Base), kReadable));
        // A day's colour shows on the grid (Base) and on the row of day names (AlternateBase).
        for (const auto &[day, colour] : markedDays) {
            QTextCharFormat format = calendar.weekdayTextFormat(day);
            QColor readable = colour;
            for (const QPalette::ColorRole page : {QPalette::Base, QPalette::AlternateBase})
                readable = readableAgainst(readable, inherited.color(QPalette::Active, page), kReadable);
            format.setForeground(readable);
            calendar.setWeekdayTextFormat(day, format);
        }
    });
}

} // namespace

MonthCalendar::MonthCalendar(QWidget *parent) : QCalendarWidget(parent)
{
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    setGridVisible(true);
    setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    // Qt leaves the month arrows, the year field and the grid of days without a name a screen reader can say.
    for (const auto &[part, name] : {std::pair{"qt_calendar_prevmonth", "Previous month"}, std::pair{"qt_calendar_nextmonth", "Next month"},
                                     std::pair{"qt_calendar_yearedit", "Year"}, std::pair{"qt_calendar_calendarview", "Days"}})
        if (auto *control = findChild<QWidget *>(QLatin1String(part)))
            control->setAccessibleName(QLatin1String(name));
    keepColoursReadable(*this);
    m_chosen = selectedDate();
    m_days = findChild<QAbstractItemView *>(QStringLiteral("qt_calendar_calendarview"));
    m_days->installEventFilter(this);
    // Stepping with the arrow keys to a day a week away would otherwise open
    // every page on the way, and ask about saving the changed one at the first step.
    connect(this, &QCalendarWidget::selectionChanged, this, [this] {
        if (!m_settingDate && !m_keyDown)
            choose();
    });
    // A click on the highlighted day, Enter, a double click or a typed date.
    connect(this, &QCalendarWidget::clicked, this, &MonthCalendar::choose);
    connect(this, &QCalendarWidget::activated, this, &MonthCalendar::choose);
}

void MonthCalendar::setDate(QDate date)
{
    m_chosen = date;
    m_settingDate = true;
    setSelectedDate(date);
    m_settingDate = false;
}

// Choosing the open day again would empty its page, so only another day counts.
void MonthCalendar::choose()
{
    if (selectedDate() == m_chosen)
        return;
    m_chosen = selectedDate();
    emit dateChosen();
}

// A change of the highlight between a key's press and its release is the keyboard's.
bool MonthCalendar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_days) {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space && !typingDate()) {
                choose();
                return true;
            }
            m_keyDown = true;
            break;
        case QEvent::KeyRelease:
            m_keyDown = false;
            break;
        case QEvent::FocusOut: {
            m_keyDown = false;
            // Left for another control without a choice, the highlight goes back to the open day.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (selectedDate() != m_chosen && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                setDate(m_chosen);
            break;
        }
        default:
            break;
        }
    }
    return QCalendarWidget::eventFilter(watched, event);
}

// Digits open Qt's own date field over the days; a Space then is part of the typing.
bool MonthCalendar::typingDate() const
{
    const QList<QFrame *> frames = findChildren<QFrame *>(Qt::FindDirectChildrenOnly);
    return std::any_of(frames.begin(), frames.end(), [this](const QFrame *frame) { return frame != m_days && frame->isVisible(); });
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

// A colour of their own with dark text reads in either look, and the underline
// still tells them apart where colours are not seen.
void MonthCalendar::markWaiting(const QList<QDate> &days, const QString &tip)
{
    for (const QDate day : std::exchange(m_waiting, days)) {
        QTextCharFormat format = dateTextFormat(day);
        for (const int property : {QTextFormat::BackgroundBrush, QTextFormat::ForegroundBrush, QTextFormat::TextUnderlineStyle,
                                   QTextFormat::TextToolTip})
            format.clearProperty(property);
        setDateTextFormat(day, format);
    }
    for (const QDate day : m_waiting) {
        QTextCharFormat format = dateTextFormat(day);
        format.setBackground(QColor(255, 214, 102));
        format.setForeground(QColor(32, 32, 32));
        format.setFontUnderline(true);
        format.setToolTip(tip);
        setDateTextFormat(day, format);
    }
}
