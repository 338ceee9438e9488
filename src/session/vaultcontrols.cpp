#include "vaultcontrols.h"

#include "access/signin.h"
#include "diary/conversion.h"
#include "diary/passwordfile.h"
#include "seams/busycursor.h"
#include "seams/dialogs.h"
#include "seams/messages.h"
#include "sessiondrafts.h"
#include "sessionstate.h"
#include "vault/passwordpolicy.h"
#include "vault/processguard.h"
#include "vault/vault.h"
#include "vault/wipe.h"

#include <QFileInfo>
#include <QScopeGuard>

#include <memory>
#include <optional>
#include <utility>

namespace {

const QString kEncryptTitle = QStringLiteral("Encrypt Diary");
const QString kDecryptTitle = QStringLiteral("Decrypt Diary");
const QString kChangeTitle = QStringLiteral("Change Password");

// Asked again before the diary's form or password changes: nothing when
// cancelled or wrong, the wrong one told with refused.
std::optional<QString> askCurrentPassword(Dialogs &dialogs, const Vault &vault, const QString &prompt, const QString &title,
                                          const messages::Box &refused)
{
    QString typed = dialogs.input(prompt, title, Dialogs::Echo::Masked);
    if (typed.isEmpty())
        return std::nullopt;
    if (!vault.opensWith(keyslot::passwordBytes(typed))) {
        wipe(typed);
        messages::tell(dialogs, refused);
        return std::nullopt;
    }
    return typed;
}

// A new master key, and the key slot that wraps it under password; nothing
// when there is not enough memory for the key.
std::optional<std::pair<std::unique_ptr<Vault>, QByteArray>> newKey(const QString &password)
{
    SecretBytes master = keyslot::newMasterKey();
    const auto slot = keyslot::make(master, keyslot::passwordBytes(password), kdfPolicy().chooseForNewSlot());
    if (!slot)
        return std::nullopt;
    return std::pair{std::make_unique<Vault>(std::move(master), *slot), keyslot::format(*slot)};
}

} // namespace

VaultControls::VaultControls(SessionState &state, SessionDrafts &drafts, DayBook &book, YearNotes &notes)
    : m_state(state), m_drafts(drafts), m_book(book), m_notes(notes)
{
}

bool VaultControls::isEncrypted() const
{
    return m_state.vault != nullptr;
}

void VaultControls::useVault(std::shared_ptr<Vault> vault)
{
    m_state.vault = std::move(vault);
    if (m_state.vault)
        guardProcessMemory();
    m_drafts.followRoot();
    emit encryptionChanged(isEncrypted());
}

void VaultControls::tellSetAside(const QStringList &names)
{
    if (!names.isEmpty())
        messages::tell(m_state.dialogs, messages::filesSetAside(names));
}

// A refused or mistyped password is asked again, as the plain diary's
// Change Password does, so the user need not start over from the menu.
// Nothing typed is kept for the next try: a refused password must change,
// and after a mismatch no one knows which of the two was the slip.
std::optional<QString> VaultControls::askNewPassword(const QString &title, bool plainDiary)
{
    for (;;) {
        QString first = m_state.dialogs.input(QStringLiteral("Enter the new password (at least %1 characters).").arg(passwordpolicy::kShortest),
                                              title, Dialogs::Echo::Masked);
        if (first.isEmpty())
            return std::nullopt;
        const bool reusesPlain = plainDiary && passwordfile::ScramblePassword(first) == passwordfile::readStored(m_state.dataRoot().passwordFile());
        if (const auto refused = passwordpolicy::refusal(first, reusesPlain, QFileInfo(m_state.root).fileName())) {
            wipe(first);
            messages::tell(m_state.dialogs, messages::newPasswordRefused(*refused, title));
            continue;
        }
        QString again = m_state.dialogs.input(QStringLiteral("Enter the new password again."), title, Dialogs::Echo::Masked);
        const bool cancelled = again.isEmpty();
        const bool same = again == first;
        wipe(again);
        if (same)
            return first;
        wipe(first);
        if (cancelled)
            return std::nullopt;
        messages::tell(m_state.dialogs, messages::newPasswordsDiffer(title));
    }
}

void VaultControls::encryptDiary(const conversion::Progress &progress)
{
    if (isEncrypted()
        || !messages::agreed(m_state.dialogs, messages::encryptDiary()))
        return;
    auto password = askNewPassword(kEncryptTitle, true);
    if (!password)
        return;
    const auto wipePassword = qScopeGuard([&password] { wipe(*password); });
    m_drafts.flush();
    const BusyCursor busy;
    auto key = newKey(*password);
    if (!key) {
        messages::tell(m_state.dialogs, messages::encryptionFailed(QStringLiteral("there is not enough memory for its key.")));
        return;
    }
    std::shared_ptr<Vault> vault = std::move(key->first);
    if (const Outcome done = conversion::encrypt(m_state.dataRoot(), *vault, key->second, progress); !done) {
        messages::tell(m_state.dialogs, messages::encryptionFailed(done.error()));
        return;
    }
    useVault(std::move(vault));
    messages::tell(m_state.dialogs, messages::diaryEncrypted());
}

void VaultControls::decryptDiary(const conversion::Progress &progress)
{
    if (!isEncrypted()
        || !messages::agreed(m_state.dialogs, messages::decryptDiary()))
        return;
    auto typed = askCurrentPassword(m_state.dialogs, *m_state.vault, QStringLiteral("Enter the Password"), kDecryptTitle,
                                    messages::wrongPasswordNotDecrypted());
    if (!typed)
        return;
    const auto wipeTyped = qScopeGuard([&typed] { wipe(*typed); });
    const QString &password = *typed;
    // The plain form would keep a weaker password than the one typed.
    if (!passwordfile::keepsWhole(password)) {
        messages::tell(m_state.dialogs, messages::passwordNotPlain());
        return;
    }
    m_drafts.flush();
    const BusyCursor busy;
    QStringList setAside;
    if (const Outcome done = conversion::decrypt(m_state.dataRoot(), passwordfile::fileBytes(password), progress, &setAside); !done) {
        messages::tell(m_state.dialogs, messages::decryptionFailed(done.error()));
        return;
    }
    useVault(nullptr);
    messages::tell(m_state.dialogs, messages::diaryDecrypted());
    tellSetAside(setAside);
}

void VaultControls::changePassword(const conversion::Progress &progress)
{
    if (!isEncrypted()) {
        ChangePassword(m_state.dataRoot().passwordFile(), m_state.dialogs);
        return;
    }
    auto current = askCurrentPassword(m_state.dialogs, *m_state.vault, QStringLiteral("Enter the current password."), kChangeTitle,
                                      messages::wrongPasswordNotChanged());
    if (!current)
        return;
    wipe(*current);
    auto password = askNewPassword(kChangeTitle, false);
    if (!password)
        return;
    const auto wipePassword = qScopeGuard([&password] { wipe(*password); });
    m_drafts.flush();
    const BusyCursor busy;
    // A new master key, so an old pw.dat kept in a backup or a synced copy
    // opens nothing: every file is sealed again under it.
    auto key = newKey(*password);
    if (!key) {
        messages::tell(m_state.dialogs, messages::passwordNotSaved(QStringLiteral("There is not enough memory for the new key.")));
        return;
    }
    QStringList setAside;
    if (const Outcome done = conversion::rekey(m_state.dataRoot(), *key->first, key->second, progress, &setAside); !done) {
        messages::tell(m_state.dialogs, messages::passwordNotSaved(done.error()));
        return;
    }
    m_state.vault->adopt(std::move(*key->first));
    messages::tell(m_state.dialogs, messages::passwordSaved());
    tellSetAside(setAside);
}
