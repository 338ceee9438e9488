#include "windowlock.h"

#include "app/autolock.h"
#include "app/lockbox.h"
#include "session/diarysession.h"
#include "session/vaultcontrols.h"
#include "spelling/service.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QMenu>
#include <QSettings>

#include <algorithm>
#include <utility>

namespace {

const QString kIdleMinutesKey = QStringLiteral("lock/idleMinutes");

QString idleCaption(int minutes)
{
    if (minutes == 0)
        return QStringLiteral("Never");
    if (minutes == 60)
        return QStringLiteral("After 1 Hour");
    return minutes == 1 ? QStringLiteral("After 1 Minute") : QStringLiteral("After %1 Minutes").arg(minutes);
}

} // namespace

WindowLock::WindowLock(const Parts &parts, DiarySession &session, const AppServices &services, std::function<void()> endProgram)
    : QObject(&parts.window), m_parts(parts), m_session(session), m_services(services), m_endProgram(std::move(endProgram))
{
    connect(&m_session.vault(), &VaultControls::encryptionChanged, this, [this](bool encrypted) {
        m_parts.lockItem.setEnabled(encrypted);
        m_parts.idleMenu.setEnabled(encrypted);
    });
    connect(&m_parts.lockItem, &QAction::triggered, &m_session.vault(), &VaultControls::lockDiary);
    buildIdleChoices();
}

WindowLock::~WindowLock() = default;

// Both wait for an encrypted diary: a plain one has nothing to lock.
void WindowLock::buildIdleChoices()
{
    m_parts.lockItem.setEnabled(false);
    m_parts.idleMenu.setEnabled(false);
    if (!m_services.settingsFile.isEmpty()) {
        const int kept = QSettings(m_services.settingsFile, QSettings::IniFormat).value(kIdleMinutesKey, m_idleMinutes).toInt();
        if (std::ranges::find(AutoLock::kChoices, kept) != AutoLock::kChoices.end())
            m_idleMinutes = kept;
    }
    auto *group = new QActionGroup(&m_parts.idleMenu);
    for (const int minutes : AutoLock::kChoices) {
        QAction *choice = m_parts.idleMenu.addAction(idleCaption(minutes));
        choice->setObjectName(QStringLiteral("lockAfter%1").arg(minutes));
        choice->setCheckable(true);
        choice->setChecked(minutes == m_idleMinutes);
        group->addAction(choice);
        connect(choice, &QAction::triggered, this, [this, minutes] { chooseIdleDelay(minutes); });
    }
}

void WindowLock::chooseIdleDelay(int minutes)
{
    m_idleMinutes = minutes;
    if (m_autoLock)
        m_autoLock->setIdleDelay(AutoLock::delayOf(minutes));
    if (!m_services.settingsFile.isEmpty())
        QSettings(m_services.settingsFile, QSettings::IniFormat).setValue(kIdleMinutesKey, minutes);
}

// An encrypted diary locks itself; a plain one has nothing a lock could keep.
void WindowLock::follow()
{
    connect(&m_session.vault(), &VaultControls::aboutToLock, this, &WindowLock::keepPlaces);
    connect(&m_session.vault(), &VaultControls::encryptionChanged, this, &WindowLock::watchForLock);
    connect(&m_session.vault(), &VaultControls::lockChanged, this, &WindowLock::showLocked);
    watchForLock(m_session.vault().isEncrypted());
}

void WindowLock::watchForLock(bool encrypted)
{
    if (encrypted == (m_autoLock != nullptr))
        return;
    if (!encrypted) {
        delete std::exchange(m_autoLock, nullptr);
        return;
    }
    m_autoLock = new AutoLock(this);
    m_autoLock->setIdleDelay(AutoLock::delayOf(m_idleMinutes));
    connect(m_autoLock, &AutoLock::lockWanted, &m_session.vault(), &VaultControls::lockDiary);
}

// Another start on this diary asked for it. A question being asked, or the
// lock box while the diary is locked, is what the user needs in front.
void WindowLock::comeForward()
{
    QMainWindow &window = m_parts.window;
    if (window.isMinimized())
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    QWidget *front = QApplication::activeModalWidget();
    if (!front)
        front = m_lockBox && m_lockBox->isVisible() ? static_cast<QWidget *>(m_lockBox.get()) : &window;
    front->raise();
    front->activateWindow();
}

// The session drops the words; where the user was in them is the window's to keep.
void WindowLock::keepPlaces()
{
    m_pagePlace = m_parts.page.place();
    m_notePlace = m_parts.note.place();
    // What was copied from the page or the note goes with their words.
    if (QClipboard *clipboard = QGuiApplication::clipboard(); RichTextEdit::holdsCopiedText(*clipboard))
        clipboard->clear();
    if (m_services.spelling)
        m_services.spelling->forgetIgnored();
}

// Hidden, a window's text can be neither seen nor read out; the session has
// read the page and the note back by the time the windows show again.
void WindowLock::showLocked(bool locked)
{
    if (!locked) {
        if (m_lockBox)
            m_lockBox->hide();
        for (const QPointer<QWidget> &window : std::exchange(m_lockedWindows, {})) {
            // setVisible, not show(), which may impose the platform's default window state.
            if (window)
                window->setVisible(true);
        }
        m_parts.page.returnTo(m_pagePlace);
        m_parts.note.returnTo(m_notePlace);
        if (m_activeBeforeLock) {
            m_activeBeforeLock->raise();
            m_activeBeforeLock->activateWindow();
        }
        if (m_autoLock)
            m_autoLock->noteActivity();
        return;
    }
    if (!m_lockBox) {
        m_lockBox = std::make_unique<LockBox>([this](const QString &password) { return m_session.vault().unlockDiary(password); });
        connect(m_lockBox.get(), &LockBox::closeRequested, this, [this] { m_endProgram(); });
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
