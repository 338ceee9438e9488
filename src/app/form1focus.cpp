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
// column and come in its place; the hidden value holders never take the focus.
void Form1::orderFocus()
{
    const std::initializer_list<QWidget *> order{Text4,      chkMatchCase, chkTextOnly, Command4,   List1,      Command1,
                                                 File3,      Command3,     monthview1,  rtxt2,      rtxt,       lstOnThisDay,
                                                 SSCommand1, SSCommand2,   SSCommand3,  SSCommand4, cmbFontName, cmbFontSize};
    for (auto next = std::next(order.begin()); next != order.end(); ++next)
        setTabOrder(*std::prev(next), *next);
    for (QWidget *holder : std::initializer_list<QWidget *>{Text1, rtxt3})
        holder->setFocusPolicy(Qt::NoFocus);
    for (QWidget *panel : std::initializer_list<QWidget *>{Frame3, Frame5})
        panel->installEventFilter(this);
    new FocusMark(*this);
}

// Under a panel the calendar and the note can be neither seen nor used, so Tab passes them by.
void Form1::followPanels()
{
    const bool covered = !Frame3->isHidden() || !Frame5->isHidden();
    for (QWidget *control : std::initializer_list<QWidget *>{monthview1->focusProxy(), rtxt})
        control->setFocusPolicy(covered ? Qt::NoFocus : Qt::StrongFocus);
}
