#include "form1.h"

#include "app/autolock.h"
#include "app/lockbox.h"

#include <QApplication>

#include <utility>

// An encrypted diary locks itself; a plain one has nothing a lock could keep.
void Form1::followLocking()
{
    connect(&m_session, &DiarySession::encryptionChanged, this, &Form1::watchForLock);
    connect(&m_session, &DiarySession::lockChanged, this, &Form1::showLocked);
    watchForLock(m_session.isEncrypted());
}

void Form1::watchForLock(bool encrypted)
{
    if (encrypted == (m_autoLock != nullptr))
        return;
    if (!encrypted) {
        delete std::exchange(m_autoLock, nullptr);
        return;
    }
    m_autoLock = new AutoLock(this);
    connect(m_autoLock, &AutoLock::lockWanted, &m_session, &DiarySession::lockDiary);
}

// Another start on this diary asked for it. A question being asked, or the
// lock box while the diary is locked, is what the user needs in front.
void Form1::comeForward()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    QWidget *front = QApplication::activeModalWidget();
    if (!front)
        front = m_lockBox && m_lockBox->isVisible() ? static_cast<QWidget *>(m_lockBox.get()) : this;
    front->raise();
    front->activateWindow();
}

// Hidden, a window's text can be neither seen nor read out; the editors keep
// their documents, so showing the windows again gives back the typing too.
void Form1::showLocked(bool locked)
{
    if (!locked) {
        if (m_lockBox)
            m_lockBox->hide();
        for (const QPointer<QWidget> &window : std::exchange(m_lockedWindows, {})) {
            // setVisible, not show(), which may impose the platform's default window state.
            if (window)
                window->setVisible(true);
        }
        if (m_activeBeforeLock) {
            m_activeBeforeLock->raise();
            m_activeBeforeLock->activateWindow();
        }
        if (m_autoLock)
            m_autoLock->noteActivity();
        return;
    }
    if (!m_lockBox) {
        m_lockBox = std::make_unique<LockBox>([this](const QString &password) { return m_session.unlockDiary(password); });
        connect(m_lockBox.get(), &LockBox::closeRequested, this, &Form1::endProgram);
    }
    m_activeBeforeLock = QApplication::activeWindow();
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    // The box first, so the program always has a window on the screen.
    m_lockBox->showLocked();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        // A question being asked stays under the box: hidden, it would end as
        // if the user had refused it, and such boxes show no page.
        if (window == m_lockBox.get() || !window->isVisible() || window->windowModality() == Qt::ApplicationModal)
            continue;
        if (window->windowType() != Qt::ToolTip)
            m_lockedWindows.append(window);
        window->hide();
    }
}
