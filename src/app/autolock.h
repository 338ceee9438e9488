#pragma once

#include <QObject>
#include <QTimer>

#include <array>
#include <chrono>
#include <functional>

// Notices when an encrypted diary should lock: no input to any of the
// program's windows for the idle delay, the desktop's screen locking, or the
// machine about to sleep. It only asks; locking is the main window's business.
class AutoLock : public QObject
{
    Q_OBJECT

public:
    // Time since any fixed origin; tests hand in one they move by hand.
    using Now = std::function<std::chrono::milliseconds()>;

    static constexpr std::chrono::milliseconds kIdleDelay = std::chrono::minutes(5);
    // The idle delays a user may choose, in minutes; 0 is never.
    static constexpr std::array<int, 5> kChoices{1, 5, 15, 60, 0};
    static constexpr int kDefaultChoice = 5;
    static std::chrono::milliseconds delayOf(int minutes);
    static constexpr std::chrono::milliseconds kPollInterval = std::chrono::seconds(10);

    // Watches every input event of the application from now on, and the
    // desktop's signals on whichever buses there are.
    explicit AutoLock(QObject *parent = nullptr);

    // The idle time starts again from the new clock's now.
    void setClock(Now now);
    void setIdleDelay(std::chrono::milliseconds delay) { m_delay = delay; }
    std::chrono::milliseconds idleDelay() const { return m_delay; }
    // Input seen: the idle time starts again.
    void noteActivity();

    // The time since boot, counting suspended time, so a machine woken after
    // a long sleep without login1's signal still locks at its next poll.
    static std::chrono::milliseconds systemNow();

public slots:
    // The poll: asks for the lock once the idle delay has passed.
    void checkIdle();
    // org.freedesktop.ScreenSaver ActiveChanged(b) and login1 PrepareForSleep(b).
    void screenSaverActiveChanged(bool active);
    void prepareForSleep(bool sleeping);

signals:
    void lockWanted();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void listenToDesktop();

    Now m_now = &AutoLock::systemNow;
    std::chrono::milliseconds m_delay = kIdleDelay;
    std::chrono::milliseconds m_lastInput;
    QTimer m_poll;
};
