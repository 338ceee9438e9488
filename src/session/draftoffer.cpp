#include "sessiondrafts.h"

#include "daybook.h"
#include "diary/daykeys.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "richtext/pagecontent.h"
#include "seams/clock.h"
#include "seams/dialogs.h"
#include "seams/messages.h"
#include "sessionstate.h"
#include "yearnotes.h"

#include <QFile>

namespace {

// This year's day of a yearly note, or the last year that has it (29 February).
QDate dayOfNote(daykeys::MonthDay monthDay, int year)
{
    while (!QDate(year, monthDay.month, monthDay.day).isValid())
        --year;
    return QDate(year, monthDay.month, monthDay.day);
}

} // namespace

void SessionDrafts::offer()
{
    bool pageBroughtBack = false;
    for (const drafts::Draft &draft : drafts::found(m_state.dataRoot())) {
        if (draft.kind == drafts::Kind::Note)
            offerNote(draft, pageBroughtBack);
        else if (pageBroughtBack)
            drafts::setAside(m_state.dataRoot(), draft);
        else
            pageBroughtBack = bringBackPage(draft);
    }
}

bool SessionDrafts::bringBackPage(const drafts::Draft &draft)
{
    const auto read = pagestore::loadFile(m_state.dataRoot(), draft.path, drafts::storedFile(m_state.dataRoot(), draft));
    if (!read) {
        setAsideUnopened(draft);
        return false;
    }
    const QByteArray rtf = *read;
    QTextDocument kept;
    // Nor is one too large to show: the typing is still in it.
    if (!richtext::loadBytes(rtf, kept))
        return false;
    if (!richtext::hasContent(kept)) {
        QFile::remove(draft.path);
        return false;
    }
    const QDate day = daykeys::dateFromDayKey(draft.key).value_or(m_book.selectedDay());
    if (!messages::agreed(m_state.dialogs, messages::pageFound(draft.kind == drafts::Kind::PrintCopy, day))) {
        drafts::setAside(m_state.dataRoot(), draft);
        return false;
    }
    m_book.chooseDay(day);
    m_book.bringBack(rtf);
    m_book.draft().takeOver(draft);
    return true;
}

// With a page brought back, the note of another day would need the page left first: it waits in the history.
void SessionDrafts::offerNote(const drafts::Draft &draft, bool pageBroughtBack)
{
    const auto read = notestore::loadFile(m_state.dataRoot(), draft.path, drafts::storedFile(m_state.dataRoot(), draft));
    if (!read) {
        setAsideUnopened(draft);
        return;
    }
    const QByteArray bytes = *read;
    if (notestore::decodeNote(bytes).trimmed().isEmpty()) {
        QFile::remove(draft.path);
        return;
    }
    const auto monthDay = daykeys::monthDayFromNoteKey(draft.key);
    if (!monthDay || (pageBroughtBack && *monthDay != m_notes.noteDay())
        // Shown in a leap year, so that a note for 29 February has its day.
        || !messages::agreed(m_state.dialogs, messages::noteFound(QDate(2000, monthDay->month, monthDay->day)))) {
        drafts::setAside(m_state.dataRoot(), draft);
        return;
    }
    if (*monthDay != m_notes.noteDay())
        m_book.chooseDay(dayOfNote(*monthDay, m_state.clock.today().year()));
    m_notes.bringBack(bytes);
    m_notes.draft().takeOver(draft);
}

// A sealed draft that does not open is damaged or was put there from another
// diary: it is said, and kept in the history rather than asked about again at
// every start. A plain diary's draft that cannot be read stays where it is.
void SessionDrafts::setAsideUnopened(const drafts::Draft &draft)
{
    if (!m_state.dataRoot().vault())
        return;
    drafts::setAside(m_state.dataRoot(), draft);
    const QString what = draft.kind == drafts::Kind::Note ? QStringLiteral("note") : QStringLiteral("page");
    messages::tell(m_state.dialogs, messages::draftUnopened(what, m_state.dataRoot().relativeName(draft.path)));
}
