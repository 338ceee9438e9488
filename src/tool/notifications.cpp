#include "notifications.h"

#include "toolsupport.h"

#include <QEventLoop>
#include <QTimer>

namespace tool {

int notifyAndWait(Notifications &notifications, const Notifications::Note &note, std::chrono::milliseconds wait,
                  const NoteHandlers &handlers)
{
    QEventLoop loop;
    uint shown = 0;
    // Connected before the note goes out; the bus delivers its answers through the loop.
    // A click delivered with the close or the timeout that ended the wait opens nothing.
    QObject::connect(&notifications, &Notifications::actionInvoked, &loop, [&](uint id, const QString &action) {
        if (!loop.isRunning() || id != shown || action != QLatin1String("default"))
            return;
        handlers.clicked();
        loop.quit();
    });
    QObject::connect(&notifications, &Notifications::closed, &loop, [&](uint id) {
        if (id == shown)
            loop.quit();
    });
    const Notifications::Sent sent = notifications.notify(note);
    if (!sent.error.isEmpty()) {
        printError(QStringLiteral("no notification service answered: %1").arg(sent.error));
        return kFailed;
    }
    shown = sent.id;
    handlers.shown();
    QTimer::singleShot(wait, &loop, &QEventLoop::quit);
    loop.exec();
    return kDone;
}

} // namespace tool
