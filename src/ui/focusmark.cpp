#include "focusmark.h"

#include "look.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace {

constexpr int kWidth = 2;

} // namespace

FocusMark::FocusMark(QWidget &window) : QWidget(&window)
{
    setObjectName(QStringLiteral("focusMark"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { follow(now); });
}

// A compound control (the calendar and its grid of days) is marked as a whole.
void FocusMark::follow(QWidget *focus)
{
    for (const QPointer<QWidget> &watched : std::as_const(m_watched)) {
        if (watched)
            watched->removeEventFilter(this);
    }
    m_watched.clear();
    m_target = nullptr;
    if (focus && focus != this && focus->window() == parentWidget()) {
        while (focus->parentWidget() && focus->parentWidget()->focusProxy() == focus)
            focus = focus->parentWidget();
        m_target = focus;
        for (QWidget *widget = focus; widget && widget != parentWidget(); widget = widget->parentWidget()) {
            widget->installEventFilter(this);
            m_watched.append(widget);
        }
    }
    place();
}

bool FocusMark::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        place();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// Outside the control, so that nothing of it is covered.
void FocusMark::place()
{
    if (!m_target || !m_target->isVisible()) {
        hide();
        return;
    }
    setGeometry(QRect(m_target->mapTo(parentWidget(), QPoint()), m_target->size()).adjusted(-kWidth, -kWidth, kWidth, kWidth));
    setMask(QRegion(rect()) - QRegion(rect().adjusted(kWidth, kWidth, -kWidth, -kWidth)));
    raise();
    show();
}

void FocusMark::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    // The desktop's highlight, moved until it stands out from the window.
    painter.fillRect(rect(), readableAgainst(palette().color(QPalette::Highlight), palette().color(QPalette::Window), kVisible));
}
