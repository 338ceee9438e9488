#include "form1.h"

#include "app/filelistbox.h"
#include "app/monthcalendar.h"
#include "editor/richtextedit.h"
#include "ui/focusmark.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

// Tab goes down the calendar column, then the page, the note and its years,
// the page buttons and the font lists. The panels lie over the calendar
// column and come in its place.
void Form1::orderFocus()
{
    const std::initializer_list<QWidget *> order{m_ui.Text4,      m_ui.chkMatchCase, m_ui.chkTextOnly, m_ui.Command4,   m_ui.List1,      m_ui.Command1,
                                                 m_ui.File3,      m_ui.Command3,     m_ui.monthview1,  m_ui.rtxt2,      m_ui.rtxt,       m_ui.lstOnThisDay,
                                                 m_ui.SSCommand1, m_ui.SSCommand2,   m_ui.SSCommand3,  m_ui.SSCommand4, m_ui.cmbFontName, m_ui.cmbFontSize};
    for (auto next = std::next(order.begin()); next != order.end(); ++next)
        setTabOrder(*std::prev(next), *next);
    for (QWidget *panel : std::initializer_list<QWidget *>{m_ui.Frame3, m_ui.Frame5})
        panel->installEventFilter(this);
    new FocusMark(*this);
}

// Under a panel the calendar and the note can be neither seen nor used, so Tab passes them by.
void Form1::followPanels()
{
    const bool covered = !m_ui.Frame3->isHidden() || !m_ui.Frame5->isHidden();
    for (QWidget *control : std::initializer_list<QWidget *>{m_ui.monthview1->focusProxy(), m_ui.rtxt})
        control->setFocusPolicy(covered ? Qt::NoFocus : Qt::StrongFocus);
}
