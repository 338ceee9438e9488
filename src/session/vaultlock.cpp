#include "vaultcontrols.h"

#include "daybook.h"
#include "sessiondrafts.h"
#include "sessionstate.h"
#include "vault/keyslot.h"
#include "vault/processguard.h"
#include "vault/vault.h"
#include "yearnotes.h"

#include <QThreadPool>

void VaultControls::lockDiary()
{
    if (!m_state.vault || m_state.vault->isLocked())
        return;
    emit aboutToLock();
    m_drafts.flush();
    // The pages' text must not outlive the key in memory.
    m_book.forgetWords();
    m_notes.forgetWords();
    m_state.texts.clear();
    m_state.vault->lock();
    emit lockChanged(true);
    // Last, once every window has dropped its copies: the search's threads
    // end, handing back what they freed, and this thread's freed blocks are filled.
    QThreadPool::globalInstance()->waitForDone();
    scrubFreedMemory();
}

bool VaultControls::unlockDiary(const QString &password)
{
    if (!m_state.vault || !m_state.vault->isLocked())
        return true;
    if (!m_state.vault->unlock(keyslot::passwordBytes(password)))
        return false;
    m_book.recallWords();
    m_notes.recallWords();
    emit lockChanged(false);
    return true;
}

bool VaultControls::isLocked() const
{
    return m_state.vault && m_state.vault->isLocked();
}
