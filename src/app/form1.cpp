#include "form1.h"

#include "app/fontlists.h"
#include "app/lockbox.h"
#include "app/maintoolbar.h"
#include "app/monthcalendar.h"
#include "app/movingcommands.h"
#include "app/presencekeeper.h"
#include "app/reminderswitch.h"
#include "app/windowlock.h"
#include "editor/matchmarks.h"
#include "session/daybook.h"
#include "session/sessiondrafts.h"
#include "session/vaultcontrols.h"
#include "session/yearnotes.h"
#include "ui/designgeometry.h"
#include "ui/fontfit.h"
#include "seams/program.h"
#include "ui/proportionallayout.h"

#include <QCloseEvent>
#include <QHelpEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QToolBar>

#include <utility>

Form1::Form1(const AppServices &services, DiarySession &session, QWidget *parent)
    : QMainWindow(parent), m_services(services), m_session(session), m_ui(*this), m_menus(*this),
      m_colorChooser(*services.dialogs)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quillnest ... version 2"));
    m_lock = new WindowLock({*this, *m_ui.rtxt2, *m_ui.rtxt, *m_menus.m27, *m_menus.m28}, m_session, m_services, [this] { endProgram(); });
    maintoolbar::fill(*m_ui.Toolbar1, m_menus, *m_ui.rtxt2, m_colorChooser, this);
    m_fontLists = new FontLists(*m_ui.cmbFontName, *m_ui.cmbFontSize, *m_ui.rtxt2, this);
    const QSize inner = fromTwips(0, 0, 12600, 8295).size();
    resize(inner.width(), inner.height() + menuBar()->sizeHint().height());
    // Any smaller, the toolbar runs under the page buttons and their icons are cut off.
    setMinimumSize(size());
    layout()->activate();
    m_ui.canvas->resize(inner);
    m_ui.canvas->installEventFilter(this);

    followSession();
    connectControls();
    connectMenus();
    (new MovingCommands(*this, m_session, m_services, *m_lock))->connectMenus(m_menus);
    new ReminderSwitch(*m_menus.m30, m_session, {*m_services.dialogs, m_services.settingsFile, m_services.systemctl});
    orderFocus();
    Form_Load();
}

Form1::~Form1()
{
    // Form_Terminate: the window's end is the program's end.
    if (m_startedUp)
        endProgram();
    // The editors show the session's documents, so they go before the session does.
    delete m_ui.canvas;
}

// The inner area is the canvas below the menu bar: its size is what the layout
// follows. The matches list's tool tips are filled in as they are asked for.
// A panel shown or hidden changes what Tab reaches.
bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui.canvas && event->type() == QEvent::Resize)
        Form_Resize();
    if ((watched == m_ui.Frame3 || watched == m_ui.Frame5) && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        followPanels();
    if (event->type() == QEvent::ToolTip && watched == m_ui.List1->viewport())
        showResultContext(static_cast<QHelpEvent &>(*event));
    return QMainWindow::eventFilter(watched, event);
}

void Form1::Form_Resize()
{
    if (!m_layout)
        return;
    // The page editor wraps at its widget width, so it follows its new width by itself.
    m_layout->apply(m_ui.canvas->size());
    // Fonts follow the height alone: in a tall, narrow window these would lose their ends.
    for (QWidget *control : std::initializer_list<QWidget *>{m_ui.monthview1, m_ui.dtpick, m_ui.Label1, m_ui.Label4, m_ui.lblOnThisDay})
        shrinkFontToFit(*control, ProportionalLayout::kMinFontSize);
    const int icon = m_layout->iconSize(maintoolbar::kIconSize, m_ui.canvas->size());
    m_ui.Toolbar1->setIconSize(QSize(icon, icon));
}

LockBox *Form1::lockBox() const
{
    return m_lock->lockBox();
}

AutoLock *Form1::autoLock() const
{
    return m_lock->autoLock();
}

void Form1::showEvent(QShowEvent *event)
{
    if (!m_shownOnce) {
        m_shownOnce = true;
        if (const QScreen *screen = QGuiApplication::primaryScreen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QMainWindow::showEvent(event);
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (!leaveDiary()) {
        event->ignore();
        return;
    }
    event->accept();
    endProgram();
}

// Unsaved typing is offered for saving first; past the note's Cancel there is no way back.
bool Form1::leaveDiary()
{
    // Locked, the drafts are on disk already and nothing could be sealed: nothing is asked or written.
    if (m_session.vault().isLocked())
        return true;
    if (!m_session.notes().leaveNote())
        return false;
    m_session.book().AskToSavePage();
    m_session.drafts().end();
    return true;
}

void Form1::endProgram()
{
    m_startedUp = false;
    // The program ends at once, with no destructor after it to say this computer has left.
    delete std::exchange(m_presence, nullptr);
    m_services.program->end();
}
