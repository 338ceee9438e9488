#include "form1.h"

#include "app/copybar.h"
#include "app/monthcalendar.h"
#include "editor/richtextedit.h"
#include "seams/messages.h"
#include "session/daybook.h"
#include "session/yearnotes.h"

// Another computer's versions: a bar above the page and one above the note,
// and the calendar's marks on the days whose copies wait.
void Form1::followCopies()
{
    DayBook &book = m_session.book();
    YearNotes &notes = m_session.notes();
    auto *pageBar = new CopyBar(*m_ui.rtxt2, "copyBar", "compareCopy",
                                {[&book] { return book.pageCopy(); }, messages::pageChangedElsewhere, messages::pageArrived()});
    auto *noteBar = new CopyBar(*m_ui.rtxt, "noteCopyBar", "compareNoteCopy",
                                {[&book] { return book.noteCopy(); }, messages::noteChangedElsewhere, messages::noteArrived()});
    connect(pageBar, &CopyBar::compareClicked, &book, &DayBook::settlePageCopy);
    connect(noteBar, &CopyBar::compareClicked, &book, &DayBook::settleNoteCopy);
    for (CopyBar *bar : {pageBar, noteBar}) {
        connect(&book, &DayBook::pagesChanged, bar, &CopyBar::follow);
        connect(&book, &DayBook::dayChanged, bar, &CopyBar::follow);
    }
    connect(&book, &DayBook::pageReplaced, pageBar, &CopyBar::forgetArrived);
    connect(&book, &DayBook::openPageNameChanged, pageBar, &CopyBar::forgetArrived);
    connect(&book, &DayBook::pageArrived, pageBar, &CopyBar::showArrived);
    connect(&notes, &YearNotes::noteReplaced, noteBar, &CopyBar::forgetArrived);
    connect(&notes, &YearNotes::noteArrived, noteBar, &CopyBar::showArrived);

    const auto mark = [this, &book] { m_ui.monthview1->markWaiting(book.waitingDays(), messages::copyWaitingTip()); };
    connect(&book, &DayBook::pagesChanged, this, mark);
    connect(&book, &DayBook::dayChanged, this, mark);
}
