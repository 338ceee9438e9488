#include "diarysession.h"

#include "access/signin.h"
#include "daybook.h"
#include "diary/conversion.h"
#include "diary/diarylock.h"
#include "diary/sealedmark.h"
#include "diarymoving.h"
#include "diarysearch.h"
#include "diarytally.h"
#include "seams/clock.h"
#include "seams/dialogs.h"
#include "seams/messages.h"
#include "seams/program.h"
#include "sessiondrafts.h"
#include "sessionstate.h"
#include "syncedcopies.h"
#include "vaultcontrols.h"
#include "yearnotes.h"

DiarySession::DiarySession(Dialogs &dialogs, const Clock &clock)
    : m_state(std::make_unique<SessionState>(dialogs, clock)), m_notes(std::make_unique<YearNotes>(*m_state)),
      m_book(std::make_unique<DayBook>(*m_state, *m_notes)), m_drafts(std::make_unique<SessionDrafts>(*m_state, *m_book, *m_notes)),
      m_search(std::make_unique<DiarySearch>(*m_state, *m_book)), m_tally(std::make_unique<DiaryTally>(*m_state, *m_book)),
      m_vault(std::make_unique<VaultControls>(*m_state, *m_drafts, *m_book, *m_notes)),
      m_moving(std::make_unique<DiaryMoving>(*m_state, *m_book, *m_notes))
{
}

DiarySession::~DiarySession() = default;

void DiarySession::setDataRoot(const QString &path)
{
    m_state->root = path;
    m_drafts->followRoot();
}

void DiarySession::setOpenElsewhere(std::function<void()> knock)
{
    m_openElsewhere = std::move(knock);
}

DataRoot DiarySession::dataRoot() const
{
    return m_state->dataRoot();
}

Dialogs &DiarySession::dialogs() const
{
    return m_state->dialogs;
}

void DiarySession::chooseDay(QDate day)
{
    m_book->chooseDay(day);
}

bool DiarySession::noticeArrivals()
{
    if (m_vault->isLocked())
        return false;
    m_book->followArrived();
    return true;
}

// Nothing of the diary is read before the password is known.
bool DiarySession::signIn(Program &program)
{
    if (!claimDiary(program))
        return false;
    conversion::finishInterrupted(m_state->root);
    if (const auto lost = sealedmark::passwordFileLost(dataRoot())) {
        messages::tell(dialogs(), messages::passwordFileLost(*lost));
        program.end();
        return false;
    }
    syncedcopies::explainPasswordCopies(dataRoot(), dialogs());
    std::shared_ptr<Vault> vault;
    if (!SignIn(dataRoot().passwordFile(), dialogs(), program, &vault))
        return false;
    if (vault)
        m_vault->useVault(std::move(vault));
    const QList<conflictcopies::Found> copies = syncedcopies::mergeArrived(dataRoot(), dialogs());
    m_notes->openFolder();
    m_book->open(m_state->clock.today(), copies);
    m_drafts->offer();
    return true;
}

// Two programs saving the same day would each overwrite the other's page.
bool DiarySession::claimDiary(Program &program)
{
    m_lock = std::make_unique<DiaryLock>(dataRoot());
    const DiaryLock::State state = m_lock->acquire();
    if (state == DiaryLock::State::Held)
        return true;
    const bool held = state == DiaryLock::State::HeldElsewhere;
    messages::tell(dialogs(), messages::diaryHeldElsewhere(held ? m_lock->heldElsewhereMessage() : m_lock->unavailableMessage()));
    if (held && m_openElsewhere)
        m_openElsewhere();
    program.end();
    return false;
}
