#include "form1.h"

#include "app/filelistbox.h"
#include "app/monthcalendar.h"
#include "editor/richtextedit.h"
#include "ui/windowshortcuts.h"

#include <QLineEdit>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

// Which handler each control and value holder raises.
void Form1::connectHandlers()
{
    dtpickValue.setHandler([this] { dtpick_Change(); });
    txtm.setHandler([this] { txtm_Change(); });
    Text2.setHandler([this] { Text2_Change(); });
    lblvalue.setHandler([this] { lblvalue_Change(); });
    text3Value.setHandler([this] { text3_Change(); });

    connect(&Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(monthview1, &MonthCalendar::dateChosen, this, &Form1::monthview1_DateChosen);
    connect(rtxt2, &RichTextEdit::keyDown, this, [this] { filechanged = 1; });
    auto *shortcuts = new WindowShortcuts(menuShortcuts(), this);
    for (QWidget *editor : std::initializer_list<QWidget *>{rtxt2, rtxt, Text4})
        shortcuts->keepFrom(editor);

    connect(SSCommand1, &QToolButton::clicked, this, &Form1::SSCommand1_Click);
    connect(SSCommand2, &QToolButton::clicked, this, &Form1::SSCommand2_Click);
    connect(SSCommand3, &QToolButton::clicked, this, &Form1::SSCommand3_Click);
    connect(SSCommand4, &QToolButton::clicked, this, &Form1::SSCommand4_Click);
    connect(File3, &QListWidget::itemClicked, this, &Form1::File3_Click);
    connect(File3, &QListWidget::itemActivated, this, &Form1::File3_Click);
    connect(Command3, &QPushButton::clicked, Frame3, &QWidget::hide);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Text4, &QLineEdit::returnPressed, this, &Form1::Command4_Click);
    connect(List1, &QListWidget::itemClicked, this, &Form1::List1_Click);
    connect(List1, &QListWidget::itemActivated, this, &Form1::List1_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);

    connect(m15, &QAction::triggered, this, &Form1::NewPage);
    connect(m3, &QAction::triggered, this, &Form1::m3_Click);
    connect(m2, &QAction::triggered, this, &Form1::SavePage);
    connect(m5, &QAction::triggered, this, &Form1::showSearchPanel);
    connect(m4, &QAction::triggered, this, &Form1::DeletePage);
    connect(m16, &QAction::triggered, this, &Form1::AddPicture);
    connect(m17, &QAction::triggered, this, &Form1::m17_Click);
    connect(m9, &QAction::triggered, this, &Form1::m9_Click);
    connect(m10, &QAction::triggered, this, &Form1::m10_Click);
}
