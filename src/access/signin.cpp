#include "signin.h"

#include "diary/keyslotfile.h"
#include "diary/passwordfile.h"
#include "vault/passwordpolicy.h"
#include "vault/processguard.h"
#include "vault/vault.h"
#include "vault/wipe.h"
#include "seams/dialogs.h"
#include "seams/program.h"

#include <QFileInfo>

#include <optional>

namespace {

const QString kDamagedKeySlot = QStringLiteral(
    "The password file of this encrypted diary is damaged: its key cannot be read. Nothing has been changed. This program will now close!");

bool endWith(Dialogs &dialogs, Program &program, const QString &text, const QString &title)
{
    dialogs.message(text, title, Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
    program.end();
    return false;
}

bool wrongPassword(Dialogs &dialogs, Program &program)
{
    return endWith(dialogs, program, QStringLiteral("The password you have entered is incorrect. This program will end now."),
                   QStringLiteral("Wrong Password!"));
}

QString askPassword(Dialogs &dialogs)
{
    // Masked: a password typed in clear could be read over the user's shoulder.
    return dialogs.input(QStringLiteral("Enter the Password"), QStringLiteral("Password"), Dialogs::Echo::Masked);
}

bool wrongPasswordOrDamage(Dialogs &dialogs, Program &program)
{
    return endWith(dialogs, program,
                   QStringLiteral("The password you have entered is incorrect, or the password file is damaged: its two copies "
                                  "of the key differ. This program will end now."),
                   QStringLiteral("Wrong Password!"));
}

void tellMended(Dialogs &dialogs, KeySlotFile::Mend mend)
{
    if (mend == KeySlotFile::Mend::Mended)
        dialogs.message(QStringLiteral("One of the two copies of the key in the password file was damaged. It has been "
                                       "replaced by the other copy, which is whole."),
                        QStringLiteral("Password File Repaired"), Dialogs::Icon::Information, Dialogs::Buttons::Ok);
    else if (mend == KeySlotFile::Mend::Failed)
        dialogs.message(QStringLiteral("One of the two copies of the key in the password file is damaged and could not be "
                                       "replaced. The other copy still opens the diary."),
                        QStringLiteral("Password File is damaged"), Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
}

bool signInEncrypted(const KeySlotFile &file, Dialogs &dialogs, Program &program, std::shared_ptr<Vault> *vault)
{
    if (!file.isReadable() || !vault) {
        return endWith(dialogs, program, kDamagedKeySlot, QStringLiteral("Password File is damaged"));
    }
    guardProcessMemory();
    QString answer = askPassword(dialogs);
    const SecretBytes password = keyslot::passwordBytes(answer);
    wipe(answer);
    auto opened = file.open(password);
    if (!opened)
        return file.copiesDiffer() ? wrongPasswordOrDamage(dialogs, program) : wrongPassword(dialogs, program);
    tellMended(dialogs, file.mend(opened->slot));
    *vault = std::make_shared<Vault>(std::move(opened->key), std::move(opened->slot));
    return true;
}

// Masked, and typed twice so that a slip no one saw cannot lock the user out.
// A refused password is asked again; nothing on Cancel at either box.
std::optional<QString> askNewPassword(Dialogs &dialogs)
{
    const QString title = QStringLiteral("Enter Password");
    for (;;) {
        const QString first = dialogs.input(QStringLiteral("Enter Password, for no password enter letters: ''none''."), title,
                                            Dialogs::Echo::Masked);
        if (first.isEmpty())
            return std::nullopt;
        if (passwordpolicy::shorterThan(first, passwordpolicy::kShortestPlain)) {
            dialogs.message(QStringLiteral("Password must have at least %1 characters. The password will not be saved!")
                                .arg(passwordpolicy::kShortestPlain),
                            QStringLiteral("Quillnest version 2"), Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
            continue;
        }
        const QString again = dialogs.input(QStringLiteral("Enter the same password again."), title, Dialogs::Echo::Masked);
        if (again.isEmpty())
            return std::nullopt;
        if (again == first)
            return first;
        dialogs.message(QStringLiteral("The two passwords are not the same. Please enter the new password again."),
                        QStringLiteral("Quillnest version 2"), Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
    }
}

} // namespace

bool SignIn(const QString &passwordFile, Dialogs &dialogs, Program &program, std::shared_ptr<Vault> *vault)
{
    if (!QFileInfo(passwordFile).isFile()) {
        return endWith(dialogs, program,
                       QStringLiteral("The password file has been erased or tampered with! This program will now close!"),
                       QStringLiteral("Password File has been tampered with!"));
    }
    if (const KeySlotFile keySlots(passwordFile); keySlots.isEncrypted())
        return signInEncrypted(keySlots, dialogs, program, vault);
    const QByteArray stored = passwordfile::readStored(passwordFile);
    if (stored == passwordfile::noPasswordMarker()) {
        dialogs.message(QStringLiteral("Quillnest has no password. Click on ''File'' and click 'Change Password' to asign a password."),
                        QStringLiteral("Quillnest version 2"), Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
        return true;
    }
    if (passwordfile::ScramblePassword(askPassword(dialogs)) != stored)
        return wrongPassword(dialogs, program);
    return true;
}

void ChangePassword(const QString &passwordFile, Dialogs &dialogs)
{
    const auto answer = askNewPassword(dialogs);
    if (!answer) {
        dialogs.message(QStringLiteral("Password has not been saved!"), QStringLiteral("Password NOT Saved"),
                        Dialogs::Icon::Information, Dialogs::Buttons::Ok);
        return;
    }
    if (!passwordfile::write(passwordFile, *answer)) {
        dialogs.message(QStringLiteral("An error has occured! The password was not saved!"), QStringLiteral("ERROR"),
                        Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        return;
    }
    dialogs.message(QStringLiteral("Password has been saved"), QStringLiteral("Password Saved"), Dialogs::Icon::Information,
                    Dialogs::Buttons::Ok);
}
