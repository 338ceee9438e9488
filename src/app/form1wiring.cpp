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
    auto *page = new spelling::EditorSpelling(*m_ui.rtxt2, service);
    connect(page, &spelling::EditorSpelling::corrected, &m_session.book(), &DayBook::markChanged);
    auto *note = new spelling::EditorSpelling(*m_ui.rtxt, service);
    connect(note, &spelling::EditorSpelling::corrected, &m_session.notes(), &YearNotes::noteTyped);
}

// The controls show what the session holds: its documents are the editors' own.
void Form1::followSession()
{
    m_ui.rtxt2->setDocument(&m_session.book().page());
    m_ui.rtxt->setDocument(&m_session.notes().note());
    connect(&m_session.book(), &DayBook::dayChanged, this, [this](QDate day) {
        m_ui.monthview1->setDate(day);
        m_ui.dtpick->setText(daykeys::shortDate(day));
    });
    connect(&m_session.book(), &DayBook::pageNumberChanged, m_ui.text3, qOverload<int>(&QLabel::setNum));
    connect(&m_session.book(), &DayBook::openPageNameChanged, m_ui.Label3, &QLabel::setText);
    connect(&m_session.book(), &DayBook::pageReplaced, m_ui.rtxt2, &RichTextEdit::showReplacedDocument);
    connect(&m_session.notes(), &YearNotes::noteReplaced, m_ui.rtxt, &RichTextEdit::showReplacedDocument);
    connect(&m_session.book(), &DayBook::pagesChanged, this, [this] { m_ui.File3->showEntries(m_session.book().pages()); });
    connect(&m_session.notes(), &YearNotes::noteDayMarked, this,
            [this](QDate day, bool marked) { marked ? m_ui.monthview1->markBold(day) : m_ui.monthview1->clearBold(day); });
    connect(&m_session.book(), &DayBook::pageWantsFocus, m_ui.rtxt2, [this] { m_ui.rtxt2->setFocus(); });
    followCopies();
}

void Form1::connectControls()
{
    connect(m_ui.monthview1, &MonthCalendar::dateChosen, this, [this] { m_session.chooseDay(m_ui.monthview1->date()); });
    connect(m_ui.rtxt2, &RichTextEdit::keyDown, &m_session.book(), &DayBook::markChanged);
    connect(m_ui.rtxt2, &RichTextEdit::formatted, &m_session.book(), &DayBook::markChanged);
    connect(m_ui.rtxt, &RichTextEdit::keyDown, &m_session.notes(), &YearNotes::noteTyped);
    auto *shortcuts = new WindowShortcuts(m_menus.shortcuts(), this);
    for (QWidget *editor : std::initializer_list<QWidget *>{m_ui.rtxt2, m_ui.rtxt, m_ui.Text4})
        shortcuts->keepFrom(editor);

    connect(m_ui.SSCommand1, &QToolButton::clicked, &m_session.book(), &DayBook::firstPage);
    connect(m_ui.SSCommand2, &QToolButton::clicked, &m_session.book(), &DayBook::previousPage);
    connect(m_ui.SSCommand3, &QToolButton::clicked, &m_session.book(), &DayBook::nextPage);
    connect(m_ui.SSCommand4, &QToolButton::clicked, &m_session.book(), &DayBook::lastPage);
    for (auto signal : {&QListWidget::itemClicked, &QListWidget::itemActivated}) {
        connect(m_ui.File3, signal, this, [this](QListWidgetItem *item) { m_session.book().openListed(m_ui.File3->row(item)); });
        connect(m_ui.List1, signal, this, [this](QListWidgetItem *item) { openResult(*item); });
    }
    connect(m_ui.Command3, &QPushButton::clicked, this, [this] {
        m_ui.Frame3->hide();
        m_session.book().returnToSelectedDay();
    });
    connect(m_ui.Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(m_ui.Text4, &QLineEdit::returnPressed, this, &Form1::Command4_Click);
    connect(m_ui.Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    if (m_services.spelling)
        checkSpelling(*m_services.spelling);
    m_ui.List1->viewport()->installEventFilter(this);
    new OnThisDayList(m_session, *m_ui.lblOnThisDay, *m_ui.lstOnThisDay, this);
    m_marks = std::make_unique<MatchMarks>(*m_ui.rtxt2);
    connect(&m_session.book(), &DayBook::pageReplaced, this, [this] { m_marks->clear(); });
    connect(m_menus.findNext, &QAction::triggered, this, [this] { m_marks->next(); });
    connect(m_menus.findPrevious, &QAction::triggered, this, [this] { m_marks->previous(); });
}
