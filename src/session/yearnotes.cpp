#include "yearnotes.h"

#include "diary/ancestry.h"
#include "diary/daykeys.h"
#include "diary/notestore.h"
#include "richtext/pagecontent.h"
#include "richtext/pageexport.h"
#include "sealedwords.h"
#include "seams/busycursor.h"
#include "seams/dialogs.h"
#include "seams/messages.h"
#include "sessionstate.h"
#include "sync/copymerge.h"
#include "vault/vault.h"

#include <QFileInfo>

namespace {

QString noteDayName(QDate day)
{
    return day.toString(QStringLiteral("MMMM d"));
}

} // namespace

YearNotes::YearNotes(SessionState &state)
    : m_state(state),
      m_draft(state.draftWriter, drafts::Kind::Note,
              [this] { return DraftKeeper::Content{noteKey(), [text = richtext::plainText(m_note).toUtf8()] { return text; }}; },
              state.draftDelay)
{
    // Loading adds no undo step, so this hears every edit of the note, pasted or corrected ones too.
    connect(&m_note, &QTextDocument::undoCommandAdded, this, &YearNotes::noteTyped);
}

void YearNotes::openFolder()
{
    m_notes.setPath(m_state.dataRoot().datesDir());
}

void YearNotes::noteTyped()
{
    m_draft.touched();
}

// A new month marks in bold its days that have a yearly note.
void YearNotes::showDay(QDate day)
{
    const QDate shown = std::exchange(m_day, day);
    if (!shown.isValid() || daykeys::monthDay(shown) != noteDay())
        m_toldNoteUnopened = false;
    load();
    if (!shown.isValid() || shown.month() != day.month())
        markNoteDays();
}

void YearNotes::markNoteDays()
{
    for (const QString &name : m_notes.entries()) {
        const auto monthDay = daykeys::monthDayFromNoteKey(daykeys::keyFromFileName(name));
        if (!monthDay || monthDay->month != m_day.month())
            continue;
        if (const QDate day(m_day.year(), monthDay->month, monthDay->day); day.isValid())
            emit noteDayMarked(day, true);
    }
}

void YearNotes::load()
{
    letGo();
    m_note.clear();
    m_openedFrom.clear();
    if (const auto bytes = notestore::load(m_state.dataRoot(), noteDay(), &m_openedFrom))
        (void)richtext::loadBytes(*bytes, m_note); // a note file is far below a page's limit
    else
        sayNoteDoesNotOpen();
    emit noteReplaced();
}

// An empty note would look like no note at all, and a save would put the
// user's next words over the damaged one with no word said. A plain diary's
// note that cannot be read is shown empty, as it always was.
void YearNotes::sayNoteDoesNotOpen()
{
    const DataRoot root = m_state.dataRoot();
    const QString file = root.notePath(noteDay());
    if (m_toldNoteUnopened || !root.vault() || root.vault()->isLocked() || !QFileInfo::exists(file))
        return;
    m_toldNoteUnopened = true;
    messages::tell(m_state.dialogs, messages::noteUnopened(noteDayName(m_day), root.relativeName(file)));
}

void YearNotes::clear()
{
    letGo();
    m_note.clear();
    emit noteReplaced();
}

// The stored file is read only once the note was typed into.
bool YearNotes::noteChanged() const
{
    if (m_draft.idle())
        return false;
    const QByteArray stored = notestore::load(m_state.dataRoot(), noteDay()).value_or(QByteArray());
    return notestore::decodeNote(stored) != richtext::plainText(m_note);
}

bool YearNotes::leaveNote()
{
    if (!noteChanged())
        return true;
    switch (messages::ask(m_state.dialogs, messages::saveNote(noteDayName(m_day)))) {
    case Dialogs::Button::Yes:
        return saveNote();
    case Dialogs::Button::No:
        // Page History can still bring it back.
        m_draft.setAside();
        return true;
    default:
        return false;
    }
}

// An untouched note goes with no trace.
void YearNotes::letGo()
{
    if (m_draft.idle())
        return;
    if (noteChanged())
        m_draft.setAside();
    else
        m_draft.settled();
}

void YearNotes::rereadNotes()
{
    m_notes.refresh();
}

void YearNotes::followArrived()
{
    rereadNotes();
    if (!m_day.isValid())
        return;
    markNoteDays();
    // A note typed into stays as typed: its save keeps the arrived one in the history.
    if (!m_draft.idle())
        return;
    const auto stored = notestore::load(m_state.dataRoot(), noteDay());
    if (notestore::decodeNote(stored.value_or(QByteArray())) == richtext::plainText(m_note))
        return;
    reload();
    emit noteArrived();
}

void YearNotes::reload()
{
    load();
    markNoteDay(notestore::exists(m_state.dataRoot(), noteDay()));
}

// Another computer's note may have arrived since this one was opened: the
// save merges the two, or keeps both, the other's below, and says so; it
// never puts this computer's words over the other's unseen.
QString YearNotes::withArrived(const QString &text) const
{
    const DataRoot root = m_state.dataRoot();
    const QString file = root.notePath(noteDay());
    const QString arrivedFrom = ancestry::idOfFile(file);
    const copymerge::Lines lines = copymerge::noteLines(root, noteDay());
    const auto theirs = arrivedFrom.isEmpty() || arrivedFrom == m_openedFrom ? std::nullopt : lines.read(file);
    if (!theirs)
        return text;
    const QStringList ours = text.split(u'\n');
    const auto merged = copymerge::merge(root, file, lines, {ours, m_openedFrom, false}, {*theirs, arrivedFrom});
    if (merged && *merged == ours)
        return text;
    messages::tell(m_state.dialogs, messages::noteMergedOnSave(!merged));
    if (merged)
        return merged->join(u'\n');
    const QString when = QFileInfo(file).lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return copymerge::bothKept(ours, *theirs, lines, QStringLiteral("From the other computer (saved there %1):").arg(when)).join(u'\n');
}

bool YearNotes::saveNote()
{
    const QString typed = richtext::plainText(m_note);
    const QString text = withArrived(typed);
    const bool saved = m_state.changeKeepingVersion(
        messages::noteVersionNotKept(), messages::noteNotSaved,
        [&](history::Unkept unkept) { return notestore::save(m_state.dataRoot(), noteDay(), text, unkept); });
    if (saved) {
        m_draft.settled();
        markNoteDay(true);
        m_openedFrom = ancestry::idOfFile(m_state.dataRoot().notePath(noteDay()));
        if (text != typed)
            load();
    }
    rereadNotes();
    return saved;
}

void YearNotes::markNoteDay(bool marked)
{
    if (m_day.isValid())
        emit noteDayMarked(m_day, marked);
}

void YearNotes::deleteNote()
{
    const BusyCursor busy;
    if (!notestore::exists(m_state.dataRoot(), noteDay())) {
        messages::tell(m_state.dialogs, messages::noteNotFound());
        return;
    }
    if (!messages::agreed(m_state.dialogs, messages::deleteNote()))
        return;
    if (!m_state.changeKeepingVersion(
            messages::noteDeletionNotKept(), messages::noteNotDeleted,
            [&](history::Unkept unkept) { return notestore::remove(m_state.dataRoot(), noteDay(), unkept); }))
        return;
    m_draft.settled();
    clear();
    rereadNotes();
    markNoteDay(false);
}

QList<history::Version> YearNotes::noteVersions() const
{
    return history::versions(m_state.dataRoot(), m_state.dataRoot().notePath(noteDay()));
}

// As Save Date would: the typing is offered first, the note replaced is kept.
bool YearNotes::restoreNoteVersion(const QString &id)
{
    if (!leaveNote())
        return false;
    const BusyCursor busy;
    if (const Outcome restored = history::restore(m_state.dataRoot(), m_state.dataRoot().notePath(noteDay()), id); !restored) {
        messages::tell(m_state.dialogs, messages::noteNotSaved(restored.error()));
        return false;
    }
    load();
    rereadNotes();
    markNoteDay(true);
    return true;
}

void YearNotes::bringBack(const QByteArray &bytes)
{
    (void)richtext::loadBytes(bytes, m_note); // a note file is far below a page's limit
    emit noteReplaced();
}

// A note no one typed into is its stored file, or empty where there is none.
std::optional<QByteArray> YearNotes::sealed() const
{
    if (!m_draft.idle())
        return m_draft.readBack();
    return notestore::load(m_state.dataRoot(), noteDay()).value_or(QByteArray());
}

void YearNotes::forgetWords()
{
    m_forgotten = sealedwords::forgetIfSealed(m_note, sealed());
}

// The drafts' keepers are as they were: only the words come back.
void YearNotes::recallWords()
{
    if (!std::exchange(m_forgotten, false))
        return;
    sealedwords::recall(m_note, sealed());
    emit noteReplaced();
}
