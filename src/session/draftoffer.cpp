#include "sessiondrafts.h"

#include "daybook.h"
#include "diary/daykeys.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "richtext/pagecontent.h"
#include "seams/clock.h"
#include "seams/dialogs.h"
#include "sessionstate.h"
#include "yearnotes.h"

#include <QFile>

namespace {

const QString kNotClosed = QStringLiteral("Quillnest did not close properly last time. ");

QString pageFound(const drafts::Draft &draft, QDate day)
{
    const QString what = draft.kind == drafts::Kind::PrintCopy ? QStringLiteral("An unsaved copy of the page for %1 from the print window")
                                                               : QStringLiteral("An unsaved page for %1");
    return kNotClosed + what.arg(day.toString(QStringLiteral("d MMMM yyyy")))
         + QStringLiteral(" was kept. Do you want to bring it back? If you choose No, it is kept in the page's history.");
}

QString noteFound(daykeys::MonthDay monthDay)
{
    return kNotClosed + QStringLiteral("An unsaved note for %1 was kept. Do you want to bring it back? If you choose No, it is kept in the history.")
                            .arg(QDate(2000, monthDay.month, monthDay.day).toString(QStringLiteral("MMMM d")));
}

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
    if (m_state.dialogs.message(pageFound(draft, day), QStringLiteral("Unsaved Page Found"), Dialogs::Icon::Question, Dialogs::Buttons::YesNo)
        != Dialogs::Button::Yes) {
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
        || m_state.dialogs.message(noteFound(*monthDay), QStringLiteral("Unsaved Note Found"), Dialogs::Icon::Question, Dialogs::Buttons::YesNo)
               != Dialogs::Button::Yes) {
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
    m_state.dialogs.message(QStringLiteral("The unsaved %1 kept in %2 does not open: it is damaged or is not this diary's. It has been "
                                     "moved into the %1's history.").arg(what, m_state.dataRoot().relativeName(draft.path)),
                      QStringLiteral("Unsaved Work does not open"), Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
}
