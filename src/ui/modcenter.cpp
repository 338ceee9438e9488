#include "modcenter.h"

#include "rounding.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QScreen>
#include <QWindow>

namespace {

QDialog *dialogOf(const QWindow *window)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->windowHandle() == window)
            return qobject_cast<QDialog *>(widget);
    }
    return nullptr;
}

// Watches the show of the dialog's QWindow, not of the widget: that comes after the
// dialog has settled its size (a message box does so in its own show
// handling) and before the window reaches the screen, so it never appears
// anywhere else first.
class CenterDialogFilter : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWindowType())
            center(dialogOf(static_cast<QWindow *>(watched)));
        return false;
    }

private:
    static void center(QDialog *dialog)
    {
        if (!dialog || !dialog->screen())
            return;
        dialog->move(centeredOrigin(dialog->screen()->geometry(), dialog->size()));
    }
};

QPointer<CenterDialogFilter> &installed()
{
    static QPointer<CenterDialogFilter> filter;
    return filter;
}

} // namespace

QPoint centeredOrigin(const QRect &screen, const QSize &window)
{
    const auto middle = [](int start, int room, int size) {
        return start + static_cast<int>(roundHalfEven((room - size) / 2.0));
    };
    return {middle(screen.x(), screen.width(), window.width()), middle(screen.y(), screen.height(), window.height())};
}

void StartCentering()
{
    if (installed() || !qApp)
        return;
    installed() = new CenterDialogFilter(qApp);
    qApp->installEventFilter(installed());
}

void StopCentering()
{
    delete installed();
}

bool CenteringInForce()
{
    return !installed().isNull();
}
