#include "form1.h"

#include "access/signin.h"
#include "app/filelistbox.h"
#include "app/monthcalendar.h"
#include "diary/daykeys.h"
#include "editor/richtextedit.h"
#include "seams/clock.h"
#include "ui/proportionallayout.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QToolBar>

// Every control and menu item in the window's own order, as the layout records follow it.
QList<ProportionalLayout::Entry> Form1::controlCollection() const
{
    QList<ProportionalLayout::Entry> controls;
    const std::initializer_list<QWidget *> widgets{Toolbar1, Frame2, SSCommand1, SSCommand2, SSCommand3, SSCommand4, text3, cmbFontName,
                              cmbFontSize, Frame5, Label6[0], Text4, Command4, Label6[1], List1, Command1, Frame3, File3,
                              Command3, rtxt, monthview1, rtxt2, dtpick, Label5, Label4, Label3, Image1, Label1, Image2};
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
    rtxt2->clear();
    Label5->clear();
    if (!m_services.developmentFolder.isEmpty() && m_dataRoot == m_services.developmentFolder)
        setDir1(m_services.developmentDataFolder);

    const QDate today = m_services.clock->today();
    monthview1->setDate(today);
    monthview1->update();
    txtm.set(QString::number(monthview1->date().month()));
    dtpickValue.set(daykeys::shortDate(today));
    Text2.set(daykeys::noteKey(*daykeys::fromShortDate(dtpickValue.text())));
    Frame3->move(1320, 1560);
    Frame5->move(960, 1560);

    fillFontLists();

    if (!SignIn(dataRoot().passwordFile(), *m_services.dialogs, *m_services.program))
        return;

    File2.setPath(dataRoot().datesDir());
    File3->setPath(dataRoot().pagesDir());
    lblvalue.set(QString());
    lblvalue.set(daykeys::dayKey(today));
    Timer1.start();
    filechanged = 0;
    m_startedUp = true;
}
