#include "autolock.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QEvent>

#include <time.h>

AutoLock::AutoLock(QObject *parent) : QObject(parent), m_lastInput(m_now())
{
    QCoreApplication::instance()->installEventFilter(this);
    // A fixed poll rather than one wait for the whole delay: Qt's timers stop
    // counting while the machine sleeps, the idle clock does not.
    m_poll.setInterval(kPollInterval);
    connect(&m_poll, &QTimer::timeout, this, &AutoLock::checkIdle);
    m_poll.start();
    listenToDesktop();
}

// Never is a delay no idle time reaches.
std::chrono::milliseconds AutoLock::delayOf(int minutes)
{
    return minutes == 0 ? std::chrono::milliseconds::max() : std::chrono::minutes(minutes);
}

void AutoLock::setClock(Now now)
{
    m_now = std::move(now);
    noteActivity();
}

void AutoLock::noteActivity()
{
    m_lastInput = m_now();
}

std::chrono::milliseconds AutoLock::systemNow()
{
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::nanoseconds(now.tv_nsec));
}

void AutoLock::checkIdle()
{
    if (m_now() - m_lastInput < m_delay)
        return;
    // Counted afresh, so a diary left locked is not asked again at every poll.
    noteActivity();
    emit lockWanted();
}

void AutoLock::screenSaverActiveChanged(bool active)
{
    if (active)
        emit lockWanted();
}

void AutoLock::prepareForSleep(bool sleeping)
{
    if (sleeping)
        emit lockWanted();
}

// Only the user's own input counts: events the program sends itself would
// keep an abandoned diary open.
bool AutoLock::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
        if (event->spontaneous())
            noteActivity();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

// Without a bus (a bare X session, a test) the idle delay alone locks.
void AutoLock::listenToDesktop()
{
    QDBusConnection session = QDBusConnection::sessionBus();
    if (session.isConnected())
        session.connect(QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
                        QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("ActiveChanged"), this,
                        SLOT(screenSaverActiveChanged(bool)));
    QDBusConnection system = QDBusConnection::systemBus();
    if (system.isConnected())
        system.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                       QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
                       SLOT(prepareForSleep(bool)));
}
