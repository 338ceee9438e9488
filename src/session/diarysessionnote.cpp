#include "diarysession.h"

#include "diary/daykeys.h"
#include "diary/notestore.h"
#include "richtext/pagecontent.h"
#include "richtext/pageexport.h"
#include "seams/busycursor.h"
#include "seams/dialogs.h"
#include "vault/vault.h"

#include <QFileInfo>

namespace {

QString noteDayName(const QString &noteKey)
{
    const auto monthDay = daykeys::monthDayFromNoteKey(noteKey);
    return monthDay ? QDate(2000, monthDay->month, monthDay->day).toString(QStringLiteral("MMMM d")) : noteKey;
}

} // namespace

void DiarySession::setNoteKey(const QString &key)
{
    if (key == m_noteKey)
        return;
    m_noteKey = key;
    m_toldNoteUnopened = false;
}

void DiarySession::loadNote()
{
    letNoteGo();
    m_note.clear();
    if (const auto bytes = notestore::load(dataRoot(), m_noteKey))
        (void)richtext::loadBytes(*bytes, m_note); // a note file is far below a page's limit
    else
        sayNoteDoesNotOpen();
    emit noteReplaced();
}

// An empty note would look like no note at all, and a save would put the
// user's next words over the damaged one with no word said. A plain diary's
// note that cannot be read is shown empty, as it always was.
void DiarySession::sayNoteDoesNotOpen()
{
    const QString file = dataRoot().notePath(m_noteKey);
    if (m_toldNoteUnopened || !dataRoot().vault() || dataRoot().vault()->isLocked() || !QFileInfo::exists(file))
        return;
    m_toldNoteUnopened = true;
    m_dialogs.message(QStringLiteral("The note for %1 (%2) does not open: it is damaged or is not this diary's. It is shown "
                                     "empty; its file is left as it is until a note for the day is saved, and then kept in "
                                     "the history.").arg(noteDayName(m_noteKey), dataRoot().relativeName(file)),
                      QStringLiteral("Note does not open"), Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
}

// The stored file is read only once the note was typed into.
bool DiarySession::noteChanged() const
{
    if (m_noteDraft.idle())
        return false;
    const QByteArray stored = notestore::load(dataRoot(), m_noteKey).value_or(QByteArray());
    return notestore::decodeNote(stored) != richtext::plainText(m_note);
}

bool DiarySession::leaveNote()
{
    if (!noteChanged())
        return true;
    const QString question = QStringLiteral("The note for %1 has been changed. Do you want to save it?").arg(noteDayName(m_noteKey));
    switch (m_dialogs.message(question, QStringLiteral("Save Date?"), Dialogs::Icon::Question, Dialogs::Buttons::YesNoCancel)) {
    case Dialogs::Button::Yes:
        return saveNote();
    case Dialogs::Button::No:
        // Page History can still bring it back.
        m_noteDraft.setAside();
        return true;
    default:
        return false;
    }
}

// A note replaced before Save Date, without the question, goes to the history
// rather than away; an untouched one goes.
void DiarySession::letNoteGo()
{
    if (m_noteDraft.idle())
        return;
    if (noteChanged())
        m_noteDraft.setAside();
    else
        m_noteDraft.settled();
}

void DiarySession::rereadNotes()
{
    m_notes.refresh();
}

bool DiarySession::saveNote()
{
    const QString text = richtext::plainText(m_note);
    const bool saved = changeKeepingVersion(QStringLiteral("The note was not saved: its earlier version could not be kept. Save anyway?"),
                                            QStringLiteral("An error has occured! The date was not saved!"),
                                            [&](history::Unkept unkept) { return notestore::save(dataRoot(), m_noteKey, text, unkept); });
    if (saved) {
        m_noteDraft.settled();
        markNoteDay(true);
    }
    rereadNotes();
    return saved;
}

void DiarySession::markNoteDay(bool marked)
{
    const auto monthDay = daykeys::monthDayFromNoteKey(m_noteKey);
    const QDate day = monthDay ? QDate(m_day.year(), monthDay->month, monthDay->day) : QDate();
    if (day.isValid())
        emit noteDayMarked(day, marked);
}

void DiarySession::deleteNote()
{
    const BusyCursor busy;
    if (!notestore::exists(dataRoot(), m_noteKey)) {
        m_dialogs.message(QStringLiteral("Error...File not found. Open date file that you wish to delete and then press ''Delete''."),
                          QStringLiteral("File Not Found"), Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        return;
    }
    if (m_dialogs.message(QStringLiteral("Are you sure you want to delete this file? You will not be able to undo this operation!"),
                          QStringLiteral("Delete File"), Dialogs::Icon::Exclamation, Dialogs::Buttons::OkCancel, Dialogs::Button::Cancel)
        != Dialogs::Button::Ok)
        return;
    if (!changeKeepingVersion(QStringLiteral("The note was not deleted: it could not be kept among the earlier versions. Delete anyway?"),
                              QStringLiteral("An error has occured! The date was not deleted!"),
                              [&](history::Unkept unkept) { return notestore::remove(dataRoot(), m_noteKey, unkept); }))
        return;
    m_noteDraft.settled();
    clearNote();
    rereadNotes();
    markNoteDay(false);
}

QList<history::Version> DiarySession::noteVersions() const
{
    return history::versions(dataRoot(), dataRoot().notePath(m_noteKey));
}

// As Save Date would: the typing is offered first, the note replaced is kept.
bool DiarySession::restoreNoteVersion(const QString &id)
{
    if (!leaveNote())
        return false;
    const BusyCursor busy;
    if (const Outcome restored = history::restore(dataRoot(), dataRoot().notePath(m_noteKey), id); !restored) {
        error(QStringLiteral("An error has occured! The date was not saved!"), restored.error());
        return false;
    }
    loadNote();
    rereadNotes();
    markNoteDay(true);
    return true;
}
