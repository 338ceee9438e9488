#include "sessiondrafts.h"

#include "daybook.h"
#include "seams/dialogs.h"
#include "seams/messages.h"
#include "sessionstate.h"
#include "yearnotes.h"

#include <QDir>
#include <QFileInfo>

SessionDrafts::SessionDrafts(SessionState &state, DayBook &book, YearNotes &notes) : m_state(state), m_book(book), m_notes(notes)
{
    m_book.draft().setGuard([this] { return diaryFolderHere(); });
    m_notes.draft().setGuard([this] { return diaryFolderHere(); });
}

void SessionDrafts::setDelay(std::chrono::milliseconds delay)
{
    m_state.draftDelay = delay;
    m_book.draft().setDelay(delay);
    m_notes.draft().setDelay(delay);
}

DraftKeeper *SessionDrafts::keeper(drafts::Kind kind, DraftKeeper::Snapshot snapshot, QObject *parent)
{
    auto *keeper = new DraftKeeper(m_state.draftWriter, kind, std::move(snapshot), m_state.draftDelay, parent);
    keeper->setRoot(m_state.dataRoot());
    keeper->setGuard([this] { return diaryFolderHere(); });
    m_windowKeepers.removeAll(nullptr);
    m_windowKeepers.append(keeper);
    return keeper;
}

void SessionDrafts::followRoot()
{
    m_book.draft().setRoot(m_state.dataRoot());
    m_notes.draft().setRoot(m_state.dataRoot());
    for (DraftKeeper *keeper : std::as_const(m_windowKeepers)) {
        if (keeper)
            keeper->setRoot(m_state.dataRoot());
    }
}

// A diary folder deleted while the window is open is said once, and drafts
// wait for it: writing one would make an empty diary in its place.
bool SessionDrafts::diaryFolderHere()
{
    const bool here = QFileInfo(m_state.root).isDir();
    const bool newlyGone = !here && !m_toldFolderGone;
    // Set before the message, whose event loop may run another draft's timer.
    m_toldFolderGone = !here;
    if (newlyGone)
        messages::tell(m_state.dialogs, messages::folderGone(QDir::toNativeSeparators(m_state.root)));
    return here;
}

void SessionDrafts::flush()
{
    m_book.draft().flush();
    m_notes.draft().flush();
    for (DraftKeeper *keeper : std::as_const(m_windowKeepers)) {
        if (keeper)
            keeper->flush();
    }
    m_state.draftWriter->waitForDone();
}

void SessionDrafts::end()
{
    emit ending();
    m_notes.letGo();
    m_state.draftWriter->waitForDone();
}
