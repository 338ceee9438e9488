#include "form1.h"

#include "access/signin.h"
#include "app/helpcommands.h"
#include "app/lockbox.h"
#include "app/monthcalendar.h"
#include "editor/matchmarks.h"
#include "session/daybook.h"
#include "session/sessiondrafts.h"
#include "session/vaultcontrols.h"
#include "session/yearnotes.h"
#include "ui/designgeometry.h"
#include "ui/fontfit.h"
#include "ui/modcenter.h"
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

Form1::Form1(const AppServices &services, DiarySession &session, QWidget *parent)
    : QMainWindow(parent), m_services(services), m_session(session), m_colorChooser(*services.dialogs)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quillnest ... version 2"));
    buildControls();
    buildMenus();
    buildToolbar();
    const QSize inner = fromTwips(0, 0, 12600, 8295).size();
    resize(inner.width(), inner.height() + menuBar()->sizeHint().height());
    // Any smaller, the toolbar runs under the page buttons and their icons are cut off.
    setMinimumSize(size());
    layout()->activate();
    canvas->resize(inner);
    canvas->installEventFilter(this);

    followSession();
    connectControls();
    connectMenus();
    orderFocus();
    Form_Load();
}

Form1::~Form1()
{
    // Form_Terminate: the window's end is the program's end.
    if (m_startedUp)
        m_services.program->end();
    // The editors show the session's documents, so they go before the session does.
    delete canvas;
}

// The inner area is the canvas below the menu bar: its size is what the layout
// follows. The matches list's tool tips are filled in as they are asked for.
// A panel shown or hidden changes what Tab reaches.
bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == canvas && event->type() == QEvent::Resize)
        Form_Resize();
    if ((watched == Frame3 || watched == Frame5) && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        followPanels();
    if (event->type() == QEvent::ToolTip && watched == List1->viewport())
        showResultContext(static_cast<QHelpEvent &>(*event));
    return QMainWindow::eventFilter(watched, event);
}

void Form1::Form_Resize()
{
    if (!m_layout)
        return;
    // The page editor wraps at its widget width, so it follows its new width by itself.
    m_layout->apply(canvas->size());
    // Fonts follow the height alone: in a tall, narrow window these would lose their ends.
    for (QWidget *control : std::initializer_list<QWidget *>{monthview1, dtpick, Label1, Label4, lblOnThisDay})
        shrinkFontToFit(*control, ProportionalLayout::kMinFontSize);
    const int icon = m_layout->iconSize(kToolbarIconSize, canvas->size());
    Toolbar1->setIconSize(QSize(icon, icon));
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
    m_services.program->end();
}
