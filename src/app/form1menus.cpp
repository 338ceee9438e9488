#include "form1.h"

#include "app/helpcommands.h"
#include "glance/glancewindow.h"
#include "history/pagehistorywindow.h"
#include "session/daybook.h"
#include "session/diarymoving.h"
#include "session/vaultcontrols.h"
#include "session/yearnotes.h"
#include "ui/modcenter.h"

#include <QAction>

// Every menu command, in one place: most go straight to the session.
void Form1::connectMenus()
{
    connect(m_menus.m15, &QAction::triggered, &m_session.book(), &DayBook::NewPage);
    connect(m_menus.m3, &QAction::triggered, this, [this] {
        m_session.book().AskToSavePage();
        showOpenPanel();
    });
    connect(m_menus.openPanel, &QAction::triggered, this, &Form1::showOpenPanel);
    connect(m_menus.m2, &QAction::triggered, &m_session.book(), &DayBook::SavePage);
    connect(m_menus.m5, &QAction::triggered, this, &Form1::showSearchPanel);
    connect(m_menus.m16, &QAction::triggered, this, &Form1::AddPicture);
    connect(m_menus.m17, &QAction::triggered, this, &Form1::m17_Click);
    connect(m_menus.m4, &QAction::triggered, &m_session.book(), &DayBook::DeletePage);
    connect(m_menus.m21, &QAction::triggered, this, [this] {
        auto *window = new PageHistoryWindow(m_session, this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowModality(Qt::WindowModal);
        window->show();
    });
    connect(m_menus.m7, &QAction::triggered, this, [this] {
        if (!leaveDiary())
            return;
        StopCentering();
        endProgram();
    });
    connect(m_menus.m9, &QAction::triggered, &m_session.notes(), &YearNotes::saveNote);
    connect(m_menus.m10, &QAction::triggered, &m_session.notes(), &YearNotes::deleteNote);
    connect(m_menus.m32, &QAction::triggered, this, [this] { GlanceWindow::bringUp(m_session, *this); });
    connect(m_menus.m12, &QAction::triggered, this, [this] { helpcommands::about(*m_services.dialogs); });
    connect(m_menus.m13, &QAction::triggered, this, [this] { helpcommands::webPage(m_services.openUrl, *m_services.dialogs); });
    connect(m_menus.m14, &QAction::triggered, this,
            [this] { helpcommands::help(m_services.openUrl, m_session.dataRoot(), this); });
}
