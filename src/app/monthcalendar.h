#pragma once

#include <QCalendarWidget>

class QAbstractItemView;

// The month calendar: dateChosen() reports only the user's own choices,
// never the program's settings of the date. The arrow keys move the
// highlight alone; Enter, Space or a click chooses the highlighted day.
class MonthCalendar : public QCalendarWidget
{
    Q_OBJECT

public:
    explicit MonthCalendar(QWidget *parent = nullptr);

    // The day chosen last; while the keys move the highlight it stays where it was.
    QDate date() const { return m_chosen; }
    void setDate(QDate date);
    void markBold(QDate date);
    bool isBold(QDate date) const;
    void clearBold(QDate date);
    // Days with something waiting for the user, marked apart from the bold
    // note days and told in their tool tip; the days marked before are cleared.
    void markWaiting(const QList<QDate> &days, const QString &tip);

signals:
    void dateChosen();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void choose();
    bool typingDate() const;

    QAbstractItemView *m_days = nullptr;
    QDate m_chosen;
    bool m_settingDate = false;
    bool m_keyDown = false;
    QList<QDate> m_waiting;
};
