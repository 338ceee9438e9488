#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

// A ring around whichever control of a window has the keyboard focus, in a
// colour that stands out from the window in either look. The styles' own
// marks are faint in a dark look, show only after a Tab, or are missing (a
// text editor has only its caret).
class FocusMark : public QWidget
{
    Q_OBJECT

public:
    explicit FocusMark(QWidget &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void follow(QWidget *focus);
    void place();

    QPointer<QWidget> m_target;
    // The control and its parents: a move of any of them moves the control.
    QList<QPointer<QWidget>> m_watched;
};
