#include "form1.h"

#include "app/filelistbox.h"
#include "app/monthcalendar.h"
#include "app/windowknock.h"
#include "editor/richtextedit.h"
#include "ui/proportionallayout.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QToolBar>

// Every control and menu item in the window's own order, as the layout records follow it.
QList<ProportionalLayout::Entry> Form1::controlCollection() const
{
    QList<ProportionalLayout::Entry> controls;
    const std::initializer_list<QWidget *> widgets{Toolbar1, Frame2, SSCommand1, SSCommand2, SSCommand3, SSCommand4, text3, cmbFontName,
                              cmbFontSize, Frame5, Label6[0], Text4, chkMatchCase, chkTextOnly, Command4, Label6[1], List1, lblNoMatches, Command1, Frame3, File3,
                              Command3, rtxt, monthview1, rtxt2, dtpick, Label5, Label4, Label3, Image1, Label1, Image2,
                              lblOnThisDay, lstOnThisDay};
    for (QWidget *control : widgets)
        controls.append(control);
    for (QMenu *menu : {m1, m8, m11}) {
        controls.append(menu->menuAction());
        for (QAction *action : menu->actions())
            controls.append(action);
    }
    return controls;
}

// Start-up, in its fixed order. Nothing here reports an error but the sign-in.
void Form1::Form_Load()
{
    m_layout = std::make_unique<ProportionalLayout>(controlCollection(), canvas->size());
    Label5->clear();
    const bool developing = !m_services.developmentFolder.isEmpty() && m_services.startDirectory == m_services.developmentFolder;
    m_session.setDataRoot(developing ? m_services.developmentDataFolder : m_services.startDirectory);
    Frame3->move(1320, 1560);
    Frame5->move(960, 1560);
    fillFontLists();
    m_session.setOpenElsewhere([this] { knockOnWindow(m_session.dataRoot()); });
    m_startedUp = m_session.signIn(*m_services.program);
    if (!m_startedUp)
        return;
    followLocking();
    new KnockListener(m_session.dataRoot(), [this] { comeForward(); }, this);
    // The page is what the user came to write.
    rtxt2->setFocus();
}
