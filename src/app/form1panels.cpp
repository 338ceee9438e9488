#include "form1.h"

#include "app/filelistbox.h"
#include "editor/matchmarks.h"
#include "editor/richtextedit.h"
#include "picture/addpicture.h"
#include "picture/frmpicture.h"
#include "print/frmprint.h"
#include "seams/dialogs.h"
#include "seams/messages.h"
#include "session/daybook.h"
#include "session/diarysearch.h"
#include "ui/plaintext.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

void Form1::showOpenPanel()
{
    m_ui.Frame3->show();
    m_ui.Frame3->raise();
    m_ui.File3->setFocus();
}

void Form1::showSearchPanel()
{
    if (!m_session.book().leavePageForSearch())
        return;
    m_ui.Frame5->show();
    m_ui.Frame5->raise();
    m_ui.Text4->setFocus();
}

void Form1::Command4_Click()
{
    m_ui.List1->clear();
    const QStringList found = m_session.search().search(m_ui.Text4->text(), {m_ui.chkMatchCase->isChecked(), m_ui.chkTextOnly->isChecked()});
    m_ui.List1->addItems(found);
    m_ui.lblNoMatches->setVisible(found.isEmpty());
}

void Form1::openResult(const QListWidgetItem &item)
{
    m_session.search().openResult(item.text());
    m_marks->show(m_session.search().resultMatches());
}

// A result's tool tip is read when it is first asked for: reading the line of
// every result at once would make a search of many pages wait for all of them.
void Form1::showResultContext(const QHelpEvent &event)
{
    QListWidgetItem *item = m_ui.List1->itemAt(event.pos());
    if (item && item->toolTip().isEmpty())
        item->setToolTip(plainToolTip(m_session.search().resultContext(item->text())));
}

void Form1::Command1_Click()
{
    m_ui.List1->clear();
    m_ui.lblNoMatches->hide();
    m_ui.Frame5->hide();
    m_ui.Text4->clear();
    m_session.book().returnToSelectedDay();
}

// The page counts as changed even when no picture ends up in it.
void Form1::AddPicture()
{
    m_session.book().markChanged();
    picture::AddPicture(*m_services.dialogs, [this]() -> Frmpicture & {
        if (!m_frmpicture)
            m_frmpicture = new Frmpicture(*m_ui.rtxt2, *m_services.dialogs, this);
        return *m_frmpicture;
    });
}

// Each time the print window gets a fresh copy of the page. A window that
// could not lay out the printer's page is made anew, measuring it again.
// An empty page would only come out as a blank sheet; a picture alone is
// something to print.
void Form1::m17_Click()
{
    if (!m_ui.rtxt2->hasContent()) {
        messages::tell(*m_services.dialogs, messages::nothingToPrint());
        return;
    }
    if (m_frmprint && !m_frmprint->compatible())
        delete m_frmprint;
    if (!m_frmprint) {
        m_frmprint = new Frmprint(m_session, m_services.printer, this);
        if (m_services.spelling)
            m_frmprint->checkSpelling(*m_services.spelling);
    }
    m_frmprint->showCopy(m_ui.rtxt2->textRtf());
}
