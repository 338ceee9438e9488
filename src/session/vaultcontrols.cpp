#include "vaultcontrols.h"

#include "access/signin.h"
#include "diary/conversion.h"
#include "diary/passwordfile.h"
#include "seams/busycursor.h"
#include "seams/dialogs.h"
#include "sessiondrafts.h"
#include "sessionstate.h"
#include "vault/passwordpolicy.h"
#include "vault/processguard.h"
#include "vault/vault.h"
#include "vault/wipe.h"

#include <QScopeGuard>

namespace {

const QString kEncryptTitle = QStringLiteral("Encrypt Diary");
const QString kDecryptTitle = QStringLiteral("Decrypt Diary");
const QString kChangeTitle = QStringLiteral("Change Password");
const QString kNotSaved = QStringLiteral("An error has occured! The password was not saved!");

// Asked again before the diary's form or password changes: nothing when
// cancelled or wrong, the wrong one told with refused.
std::optional<QString> askCurrentPassword(Dialogs &dialogs, const Vault &vault, const QString &prompt, const QString &title,
                                          const QString &refused)
{
    QString typed = dialogs.input(prompt, title, Dialogs::Echo::Masked);
    if (typed.isEmpty())
        return std::nullopt;
    if (!vault.opensWith(keyslot::passwordBytes(typed))) {
        wipe(typed);
        dialogs.message(refused, QStringLiteral("Wrong Password!"), Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        return std::nullopt;
    }
    return typed;
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

std::optional<QString> VaultControls::askNewPassword(const QString &title, bool plainDiary)
{
    QString first = m_state.dialogs.input(QStringLiteral("Enter the new password (at least %1 characters).").arg(passwordpolicy::kShortest),
                                          title, Dialogs::Echo::Masked);
    if (first.isEmpty())
        return std::nullopt;
    const bool reusesPlain = plainDiary && passwordfile::ScramblePassword(first) == passwordfile::readStored(m_state.dataRoot().passwordFile());
    if (const auto refused = passwordpolicy::refusal(first, reusesPlain)) {
        wipe(first);
        m_state.dialogs.message(refused->at(0).toUpper() + refused->mid(1) + QStringLiteral(". Nothing has been changed."), title,
                          Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
        return std::nullopt;
    }
    QString again = m_state.dialogs.input(QStringLiteral("Enter the new password again."), title, Dialogs::Echo::Masked);
    const bool same = again == first;
    wipe(again);
    if (!same) {
        wipe(first);
        m_state.dialogs.message(QStringLiteral("The two passwords are not the same. Nothing has been changed."), title,
                          Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
        return std::nullopt;
    }
    return first;
}

void VaultControls::encryptDiary(const conversion::Progress &progress)
{
    if (isEncrypted()
        || m_state.dialogs.message(QStringLiteral("Encrypting stores every page and note so that only your password can open them, "
                                            "and no one can recover a forgotten password. Copies of the plain pages can remain "
                                            "on the disk, in backups, in synced copies and in snapshots; only full-disk "
                                            "encryption protects those. Do you want to encrypt this diary now?"),
                             kEncryptTitle, Dialogs::Icon::Question, Dialogs::Buttons::YesNo, Dialogs::Button::No)
            != Dialogs::Button::Yes)
        return;
    auto password = askNewPassword(kEncryptTitle, true);
    if (!password)
        return;
    const auto wipePassword = qScopeGuard([&password] { wipe(*password); });
    m_drafts.flush();
    const BusyCursor busy;
    SecretBytes master = keyslot::newMasterKey();
    const auto slot = keyslot::make(master, keyslot::passwordBytes(*password), kdfPolicy().chooseForNewSlot());
    if (!slot) {
        m_state.error(QStringLiteral("The diary has not been encrypted: there is not enough memory for its key."));
        return;
    }
    auto vault = std::make_shared<Vault>(std::move(master), *slot);
    if (const Outcome done = conversion::encrypt(m_state.dataRoot(), *vault, keyslot::format(*slot), progress); !done) {
        m_state.error(QStringLiteral("The diary has not been encrypted: %1").arg(done.error()));
        return;
    }
    useVault(std::move(vault));
    m_state.dialogs.message(QStringLiteral("The diary is now encrypted. Keep your password safe: without it no one can open the diary."),
                      QStringLiteral("Diary Encrypted"), Dialogs::Icon::Information, Dialogs::Buttons::Ok);
}

void VaultControls::decryptDiary(const conversion::Progress &progress)
{
    if (!isEncrypted()
        || m_state.dialogs.message(QStringLiteral("Decrypting stores every page and note as a plain diary again, which anyone who copies "
                                            "its folder can read. Do you want to decrypt this diary now?"),
                             kDecryptTitle, Dialogs::Icon::Question, Dialogs::Buttons::YesNo, Dialogs::Button::No)
            != Dialogs::Button::Yes)
        return;
    auto typed = askCurrentPassword(m_state.dialogs, *m_state.vault, QStringLiteral("Enter the Password"), kDecryptTitle,
                                    QStringLiteral("The password you have entered is incorrect. The diary has not been decrypted."));
    if (!typed)
        return;
    const auto wipeTyped = qScopeGuard([&typed] { wipe(*typed); });
    const QString &password = *typed;
    // The plain form would keep a weaker password than the one typed.
    if (!passwordfile::keepsWhole(password)) {
        m_state.dialogs.message(QStringLiteral("This password has characters a plain diary cannot keep. Change the password to one "
                                         "without them first; the diary has not been decrypted."),
                          kDecryptTitle, Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
        return;
    }
    m_drafts.flush();
    const BusyCursor busy;
    if (const Outcome done = conversion::decrypt(m_state.dataRoot(), passwordfile::fileBytes(password), progress); !done) {
        m_state.error(QStringLiteral("The diary has not been decrypted: %1").arg(done.error()));
        return;
    }
    useVault(nullptr);
    m_state.dialogs.message(QStringLiteral("The diary is a plain diary again."), QStringLiteral("Diary Decrypted"),
                      Dialogs::Icon::Information, Dialogs::Buttons::Ok);
}

void VaultControls::changePassword(const conversion::Progress &progress)
{
    if (!isEncrypted()) {
        ChangePassword(m_state.dataRoot().passwordFile(), m_state.dialogs);
        return;
    }
    auto current = askCurrentPassword(m_state.dialogs, *m_state.vault, QStringLiteral("Enter the current password."), kChangeTitle,
                                      QStringLiteral("The password you have entered is incorrect. The password has not been changed."));
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
    SecretBytes master = keyslot::newMasterKey();
    const auto slot = keyslot::make(master, keyslot::passwordBytes(*password), kdfPolicy().chooseForNewSlot());
    if (!slot) {
        m_state.error(kNotSaved, QStringLiteral("There is not enough memory for the new key."));
        return;
    }
    Vault renewed(std::move(master), *slot);
    if (const Outcome done = conversion::rekey(m_state.dataRoot(), renewed, keyslot::format(*slot), progress); !done) {
        m_state.error(kNotSaved, done.error());
        return;
    }
    m_state.vault->adopt(std::move(renewed));
    m_state.dialogs.message(QStringLiteral("Password has been saved"), QStringLiteral("Password Saved"), Dialogs::Icon::Information,
                      Dialogs::Buttons::Ok);
}
