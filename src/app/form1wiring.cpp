#include "form1.h"

#include "app/filelistbox.h"
#include "app/monthcalendar.h"
#include "app/onthisdaylist.h"
#include "diary/daykeys.h"
#include "editor/matchmarks.h"
#include "editor/richtextedit.h"
#include "session/daybook.h"
#include "session/yearnotes.h"
#include "spelling/editorspelling.h"
#include "ui/windowshortcuts.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

// A word put right from the context menu is a change made without a key.
void Form1::checkSpelling(spelling::Service &service)
{
    auto *page = new spelling::EditorSpelling(*rtxt2, service);
    connect(page, &spelling::EditorSpelling::corrected, &m_session.book(), &DayBook::markChanged);
    auto *note = new spelling::EditorSpelling(*rtxt, service);
    connect(note, &spelling::EditorSpelling::corrected, &m_session.notes(), &YearNotes::noteTyped);
}

// The controls show what the session holds: its documents are the editors' own.
void Form1::followSession()
{
    rtxt2->setDocument(&m_session.book().page());
    rtxt->setDocument(&m_session.notes().note());
    connect(&m_session.book(), &DayBook::dayChanged, this, [this](QDate day) {
        monthview1->setDate(day);
        dtpick->setText(daykeys::shortDate(day));
    });
    connect(&m_session.book(), &DayBook::pageNumberChanged, text3, qOverload<int>(&QLabel::setNum));
    connect(&m_session.book(), &DayBook::openPageNameChanged, Label3, &QLabel::setText);
    connect(&m_session.book(), &DayBook::pageReplaced, rtxt2, &RichTextEdit::showReplacedDocument);
    connect(&m_session.notes(), &YearNotes::noteReplaced, rtxt, &RichTextEdit::showReplacedDocument);
    connect(&m_session.book(), &DayBook::pagesChanged, this, [this] { File3->showEntries(m_session.book().pages()); });
    connect(&m_session.notes(), &YearNotes::noteDayMarked, this,
            [this](QDate day, bool marked) { marked ? monthview1->markBold(day) : monthview1->clearBold(day); });
    connect(&m_session.book(), &DayBook::pageWantsFocus, rtxt2, [this] { rtxt2->setFocus(); });
}

void Form1::connectControls()
{
    connect(monthview1, &MonthCalendar::dateChosen, this, [this] { m_session.chooseDay(monthview1->date()); });
    connect(rtxt2, &RichTextEdit::keyDown, &m_session.book(), &DayBook::markChanged);
    connect(rtxt2, &RichTextEdit::formatted, &m_session.book(), &DayBook::markChanged);
    connect(rtxt, &RichTextEdit::keyDown, &m_session.notes(), &YearNotes::noteTyped);
    auto *shortcuts = new WindowShortcuts(menuShortcuts(), this);
    for (QWidget *editor : std::initializer_list<QWidget *>{rtxt2, rtxt, Text4})
        shortcuts->keepFrom(editor);

    connect(SSCommand1, &QToolButton::clicked, &m_session.book(), &DayBook::firstPage);
    connect(SSCommand2, &QToolButton::clicked, &m_session.book(), &DayBook::previousPage);
    connect(SSCommand3, &QToolButton::clicked, &m_session.book(), &DayBook::nextPage);
    connect(SSCommand4, &QToolButton::clicked, &m_session.book(), &DayBook::lastPage);
    for (auto signal : {&QListWidget::itemClicked, &QListWidget::itemActivated}) {
        connect(File3, signal, this, [this](QListWidgetItem *item) { m_session.book().openListed(File3->row(item)); });
        connect(List1, signal, this, [this](QListWidgetItem *item) { openResult(*item); });
    }
    connect(Command3, &QPushButton::clicked, this, [this] {
        Frame3->hide();
        m_session.book().returnToSelectedDay();
    });
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Text4, &QLineEdit::returnPressed, this, &Form1::Command4_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    if (m_services.spelling)
        checkSpelling(*m_services.spelling);
    List1->viewport()->installEventFilter(this);
    new OnThisDayList(m_session, *lblOnThisDay, *lstOnThisDay, this);
    m_marks = std::make_unique<MatchMarks>(*rtxt2);
    connect(&m_session.book(), &DayBook::pageReplaced, this, [this] { m_marks->clear(); });
    connect(findNext, &QAction::triggered, this, [this] { m_marks->next(); });
    connect(findPrevious, &QAction::triggered, this, [this] { m_marks->previous(); });
}
