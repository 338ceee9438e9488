#include "form1.h"

#include "app/arrivalwatcher.h"
#include "app/windowknock.h"
#include "app/fontlists.h"
#include "app/presencekeeper.h"
#include "app/windowlock.h"
#include "editor/richtextedit.h"
#include "sync/syncignore.h"
#include "ui/proportionallayout.h"

#include <QGroupBox>
#include <QLabel>
#include <QMenu>

// Every control and menu item in the window's own order, as the layout records follow it.
QList<ProportionalLayout::Entry> Form1::controlCollection() const
{
    QList<ProportionalLayout::Entry> controls;
    for (QWidget *control : m_ui.inOrder())
        controls.append(control);
    for (QMenu *menu : m_menus.menus()) {
        controls.append(menu->menuAction());
        for (QAction *action : menu->actions())
            controls.append(action);
    }
    return controls;
}

// Start-up, in its fixed order. Nothing here reports an error but the sign-in.
void Form1::Form_Load()
{
    m_layout = std::make_unique<ProportionalLayout>(controlCollection(), m_ui.canvas->size());
    m_ui.Label5->clear();
    const bool developing = !m_services.developmentFolder.isEmpty() && m_services.startDirectory == m_services.developmentFolder;
    m_session.setDataRoot(developing ? m_services.developmentDataFolder : m_services.startDirectory);
    m_ui.Frame3->move(1320, 1560);
    m_ui.Frame5->move(960, 1560);
    m_fontLists->fill();
    m_session.setOpenElsewhere([this] { knockOnWindow(m_session.dataRoot()); });
    m_startedUp = m_session.signIn(*m_services.program) &&
                  (m_presence = new PresenceKeeper(m_session.dataRoot().path(), this))->admit(*m_services.dialogs);
    if (!m_startedUp)
        return;
    syncignore::writeIfShared(m_session.dataRoot().path());
    m_lock->follow();
    new KnockListener(m_session.dataRoot(), [this] { m_lock->comeForward(); }, this);
    new ArrivalWatcher(m_session, this);
    // The page is what the user came to write.
    m_ui.rtxt2->setFocus();
}
