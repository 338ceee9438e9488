#include "diarysession.h"

#include "access/signin.h"
#include "diary/conversion.h"
#include "diary/passwordfile.h"
#include "seams/busycursor.h"
#include "seams/dialogs.h"
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

void DiarySession::useVault(std::shared_ptr<Vault> vault)
{
    m_vault = std::move(vault);
    if (m_vault)
        guardProcessMemory();
    m_pageDraft.setRoot(dataRoot());
    m_noteDraft.setRoot(dataRoot());
    for (DraftKeeper *keeper : std::as_const(m_windowKeepers)) {
        if (keeper)
            keeper->setRoot(dataRoot());
    }
    emit encryptionChanged(isEncrypted());
}

std::optional<QString> DiarySession::askNewPassword(const QString &title, bool plainDiary)
{
    QString first = m_dialogs.input(QStringLiteral("Enter the new password (at least %1 characters).").arg(passwordpolicy::kShortest),
                                          title, Dialogs::Echo::Masked);
    if (first.isEmpty())
        return std::nullopt;
    const bool reusesPlain = plainDiary && passwordfile::ScramblePassword(first) == passwordfile::readStored(dataRoot().passwordFile());
    if (const auto refused = passwordpolicy::refusal(first, reusesPlain)) {
        wipe(first);
        m_dialogs.message(refused->at(0).toUpper() + refused->mid(1) + QStringLiteral(". Nothing has been changed."), title,
                          Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
        return std::nullopt;
    }
    QString again = m_dialogs.input(QStringLiteral("Enter the new password again."), title, Dialogs::Echo::Masked);
    const bool same = again == first;
    wipe(again);
    if (!same) {
        wipe(first);
        m_dialogs.message(QStringLiteral("The two passwords are not the same. Nothing has been changed."), title,
                          Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
        return std::nullopt;
    }
    return first;
}

void DiarySession::encryptDiary(const conversion::Progress &progress)
{
    if (isEncrypted()
        || m_dialogs.message(QStringLiteral("Encrypting stores every page and note so that only your password can open them, "
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
    flushDrafts();
    const BusyCursor busy;
    SecretBytes master = keyslot::newMasterKey();
    const auto slot = keyslot::make(master, keyslot::passwordBytes(*password), kdfPolicy().chooseForNewSlot());
    if (!slot) {
        error(QStringLiteral("The diary has not been encrypted: there is not enough memory for its key."));
        return;
    }
    auto vault = std::make_shared<Vault>(std::move(master), *slot);
    if (const Outcome done = conversion::encrypt(dataRoot(), *vault, keyslot::format(*slot), progress); !done) {
        error(QStringLiteral("The diary has not been encrypted: %1").arg(done.error()));
        return;
    }
    useVault(std::move(vault));
    m_dialogs.message(QStringLiteral("The diary is now encrypted. Keep your password safe: without it no one can open the diary."),
                      QStringLiteral("Diary Encrypted"), Dialogs::Icon::Information, Dialogs::Buttons::Ok);
}

void DiarySession::decryptDiary(const conversion::Progress &progress)
{
    if (!isEncrypted()
        || m_dialogs.message(QStringLiteral("Decrypting stores every page and note as a plain diary again, which anyone who copies "
                                            "its folder can read. Do you want to decrypt this diary now?"),
                             kDecryptTitle, Dialogs::Icon::Question, Dialogs::Buttons::YesNo, Dialogs::Button::No)
            != Dialogs::Button::Yes)
        return;
    auto typed = askCurrentPassword(m_dialogs, *m_vault, QStringLiteral("Enter the Password"), kDecryptTitle,
                                    QStringLiteral("The password you have entered is incorrect. The diary has not been decrypted."));
    if (!typed)
        return;
    const auto wipeTyped = qScopeGuard([&typed] { wipe(*typed); });
    const QString &password = *typed;
    // The plain form would keep a weaker password than the one typed.
    if (!passwordfile::keepsWhole(password)) {
        m_dialogs.message(QStringLiteral("This password has characters a plain diary cannot keep. Change the password to one "
                                         "without them first; the diary has not been decrypted."),
                          kDecryptTitle, Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
        return;
    }
    flushDrafts();
    const BusyCursor busy;
    if (const Outcome done = conversion::decrypt(dataRoot(), passwordfile::fileBytes(password), progress); !done) {
        error(QStringLiteral("The diary has not been decrypted: %1").arg(done.error()));
        return;
    }
    useVault(nullptr);
    m_dialogs.message(QStringLiteral("The diary is a plain diary again."), QStringLiteral("Diary Decrypted"),
                      Dialogs::Icon::Information, Dialogs::Buttons::Ok);
}

void DiarySession::changePassword(const conversion::Progress &progress)
{
    if (!isEncrypted()) {
        ChangePassword(dataRoot().passwordFile(), m_dialogs);
        return;
    }
    auto current = askCurrentPassword(m_dialogs, *m_vault, QStringLiteral("Enter the current password."), kChangeTitle,
                                      QStringLiteral("The password you have entered is incorrect. The password has not been changed."));
    if (!current)
        return;
    wipe(*current);
    auto password = askNewPassword(kChangeTitle, false);
    if (!password)
        return;
    const auto wipePassword = qScopeGuard([&password] { wipe(*password); });
    flushDrafts();
    const BusyCursor busy;
    // A new master key, so an old pw.dat kept in a backup or a synced copy
    // opens nothing: every file is sealed again under it.
    SecretBytes master = keyslot::newMasterKey();
    const auto slot = keyslot::make(master, keyslot::passwordBytes(*password), kdfPolicy().chooseForNewSlot());
    if (!slot) {
        error(kNotSaved, QStringLiteral("There is not enough memory for the new key."));
        return;
    }
    Vault renewed(std::move(master), *slot);
    if (const Outcome done = conversion::rekey(dataRoot(), renewed, keyslot::format(*slot), progress); !done) {
        error(kNotSaved, done.error());
        return;
    }
    m_vault->adopt(std::move(renewed));
    m_dialogs.message(QStringLiteral("Password has been saved"), QStringLiteral("Password Saved"), Dialogs::Icon::Information,
                      Dialogs::Buttons::Ok);
}

void DiarySession::lockDiary()
{
    if (!m_vault || m_vault->isLocked())
        return;
    emit aboutToLock();
    flushDrafts();
    // The pages' text must not outlive the key in memory.
    forgetOpenDiary();
    m_vault->lock();
    emit lockChanged(true);
}

bool DiarySession::unlockDiary(const QString &password)
{
    if (!m_vault || !m_vault->isLocked())
        return true;
    if (!m_vault->unlock(keyslot::passwordBytes(password)))
        return false;
    recallOpenDiary();
    emit lockChanged(false);
    return true;
}

bool DiarySession::isLocked() const
{
    return m_vault && m_vault->isLocked();
}
