#include "daybook.h"


#include "diary/ioreason.h"
#include "diary/pagestore.h"
#include "richtext/pagecontent.h"
#include "richtext/pageexport.h"
#include "seams/busycursor.h"
#include "seams/clock.h"
#include "seams/messages.h"
#include "sessionstate.h"
#include "yearnotes.h"

DayBook::DayBook(SessionState &state, YearNotes &notes)
    : m_state(state), m_notes(notes),
      m_draft(state.draftWriter, drafts::Kind::Page, [this] { return DraftKeeper::pageContent(dayKey(), m_page); }, state.draftDelay)
{
}

void DayBook::open(QDate today, const QList<conflictcopies::Found> &copies)
{
    m_pages.setPath(m_state.dataRoot().pagesDir());
    m_copies = copies;
    emit pagesChanged();
    goToDay(today);
    m_filechanged = 0;
}

// A day chosen on the calendar: no page stays open unless the day has one.
void DayBook::chooseDay(QDate day)
{
    if (!readyToLeave()) {
        // The calendar goes back to the day still shown.
        emit dayChanged(m_day);
        return;
    }
    const BusyCursor busy;
    goToDay(day);
}

// The note and then the page are offered once. False, with everything as
// it was, for Cancel or a save refused or failed: the typing stays open.
bool DayBook::readyToLeave()
{
    if (!m_notes.leaveNote())
        return false;
    AskToSavePage();
    return m_filechanged != 1;
}

void DayBook::goToDay(QDate day)
{
    showPlace(day, pageNumberOf(day));
}

// The day of a page named in the list; one that names no day leaves the day as it is.
void DayBook::goToPage(int number)
{
    const QString entry = m_pages.entries().value(number - 1);
    showPlace(daykeys::dateFromFileName(entry).value_or(m_day), number);
}

int DayBook::pageNumberOf(QDate day) const
{
    return int(m_pages.entries().indexOf(daykeys::pageFileName(day)) + 1);
}

// Where a move ends is shown in one step: the page and the note are each read
// once and each change is told once, so the view never sees a half-made move.
void DayBook::showPlace(QDate day, int number)
{
    m_leftForSearch = false;
    showPage(number);
    setDay(day);
    m_notes.showDay(day);
}

void DayBook::showPage(int number)
{
    const QString entry = m_pages.entries().value(number - 1);
    const bool opened = !entry.isEmpty() && readPage(entry);
    if (!opened) {
        m_page.clear();
        m_openedFrom.clear();
        m_openedText.clear();
    }
    emit pageReplaced();
    setPageNumber(number);
    setOpenPageName(opened ? entry : QString());
}

// The file may have gone since the list was read, or be no page at all.
bool DayBook::readPage(const QString &entry)
{
    const QString file = m_pages.path() + QLatin1Char('/') + entry;
    m_openedFrom.clear();
    const auto rtf = pagestore::loadFile(m_state.dataRoot(), file, {}, &m_openedFrom);
    m_openedText = fingerprint(rtf);
    if (rtf && richtext::loadBytes(*rtf, m_page))
        return true;
    const QString why = rtf ? QStringLiteral("%1: It holds %2.").arg(file, richtext::tooMuchText()) : ioreason::unreadable(file);
    messages::tell(m_state.dialogs, messages::pageNotOpened(why));
    return false;
}

void DayBook::setPageNumber(int number)
{
    if (number == m_pageNumber)
        return;
    m_pageNumber = number;
    emit pageNumberChanged(number);
}

void DayBook::setDay(QDate day)
{
    if (day == m_day)
        return;
    m_day = day;
    emit dayChanged(day);
}

void DayBook::NewPage()
{
    const QDate today = m_state.clock.today();
    if (m_day == today) {
        AskToSavePage();
    } else {
        if (!readyToLeave())
            return;
        const BusyCursor busy;
        goToDay(today);
    }
    emit pageWantsFocus();
}

void DayBook::openListed(int row)
{
    openEntry(m_pages.entries().value(row));
}

void DayBook::openEntry(const QString &name)
{
    if (!readyToLeave())
        return;
    const BusyCursor busy;
    if (const qsizetype index = m_pages.entries().indexOf(name); index >= 0 && int(index + 1) != m_pageNumber)
        goToPage(int(index + 1));
}

// A Yes stores the page, which can move it in the list: the press then ends
// on the page the save left open rather than on a number it no longer means.
void DayBook::turnPage(int number)
{
    if (!m_notes.leaveNote() || number == m_pageNumber)
        return;
    if (m_filechanged == 1) {
        if (askToSaveChanges()) {
            SavePage();
            return;
        }
        setFileChanged(0);
    }
    const BusyCursor busy;
    goToPage(number);
}

void DayBook::firstPage()
{
    if (!m_pages.entries().isEmpty())
        turnPage(1);
}

void DayBook::previousPage()
{
    if (m_pageNumber > 1)
        turnPage(m_pageNumber - 1);
}

void DayBook::nextPage()
{
    if (m_pageNumber < m_pages.count())
        turnPage(m_pageNumber + 1);
}

void DayBook::lastPage()
{
    turnPage(int(m_pages.count()));
}

void DayBook::rereadPages()
{
    m_pages.refresh();
    m_copies = conflictcopies::find(m_state.dataRoot());
    emit pagesChanged();
}

// An import may have given the selected day a page, or added to the one open.
void DayBook::reopenSelectedDay()
{
    rereadPages();
    goToDay(m_day);
}

bool DayBook::leavePageForSearch()
{
    if (!readyToLeave())
        return false;
    clearPage();
    setPageNumber(0);
    setOpenPageName(QString());
    m_notes.clear();
    m_leftForSearch = true;
    return true;
}

void DayBook::returnToSelectedDay()
{
    if (!m_leftForSearch || !readyToLeave())
        return;
    goToDay(m_day);
}

void DayBook::clearPage()
{
    m_page.clear();
    emit pageReplaced();
}

void DayBook::setOpenPageName(const QString &name)
{
    m_openPageName = name;
    emit openPageNameChanged(name);
}
