#pragma once

#include "appservices.h"
#include "editor/richtextedit.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class AutoLock;
class DiarySession;
class LockBox;
class QAction;
class QMainWindow;
class QMenu;

// The window side of an encrypted diary's lock: locking when idle, the lock
// box in place of every window while locked, and all as it was on unlocking.
class WindowLock : public QObject
{
    Q_OBJECT

public:
    struct Parts
    {
        QMainWindow &window;
        RichTextEdit &page;
        RichTextEdit &note;
        QAction &lockItem;
        QMenu &idleMenu;
    };

    WindowLock(const Parts &parts, DiarySession &session, const AppServices &services, std::function<void()> endProgram);
    ~WindowLock() override;

    // From the sign-in on, when there is a diary to lock.
    void follow();
    void comeForward();
    // Only while the diary is encrypted; the box once it has locked.
    AutoLock *autoLock() const { return m_autoLock; }
    LockBox *lockBox() const { return m_lockBox.get(); }

private:
    void buildIdleChoices();
    void chooseIdleDelay(int minutes);
    void keepPlaces();
    void watchForLock(bool encrypted);
    void showLocked(bool locked);

    Parts m_parts;
    DiarySession &m_session;
    AppServices m_services;
    std::function<void()> m_endProgram;
    AutoLock *m_autoLock = nullptr;
    std::unique_ptr<LockBox> m_lockBox;
    // The windows the lock hid, shown again as they were on unlocking.
    QList<QPointer<QWidget>> m_lockedWindows;
    QPointer<QWidget> m_activeBeforeLock;
    // Where the page's and the note's caret and scroll stood when the lock dropped their words.
    RichTextEdit::Place m_pagePlace;
    RichTextEdit::Place m_notePlace;
    int m_idleMinutes = 5;
};
