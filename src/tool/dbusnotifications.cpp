#include "dbusnotifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QVariantMap>

namespace tool {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");

} // namespace

DbusNotifications::DbusNotifications()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this, SIGNAL(actionInvoked(uint, QString)));
    bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this, SLOT(closedFor(uint, uint)));
}

void DbusNotifications::closedFor(uint id, uint)
{
    emit closed(id);
}

Notifications::Sent DbusNotifications::notify(const Note &note)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return {.id = 0, .error = bus.lastError().message().isEmpty() ? QStringLiteral("no session bus") : bus.lastError().message()};
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    // The desktop entry lets the desktop show the program's own name and icon.
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("io.github.quillnest.Quillnest")}};
    call << QStringLiteral("Quillnest") << uint(0) << QStringLiteral("quillnest") << note.summary << note.body
         << QStringList{QStringLiteral("default"), note.actionCaption} << hints << int(note.expiry.count());
    const QDBusReply<uint> reply = bus.call(call, QDBus::Block, 10000);
    if (!reply.isValid())
        return {.id = 0, .error = reply.error().message()};
    return {.id = reply.value(), .error = {}};
}

} // namespace tool
