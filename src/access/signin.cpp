#include "signin.h"

#include "diary/keyslotfile.h"
#include "diary/passwordfile.h"
#include "vault/passwordpolicy.h"
#include "vault/processguard.h"
#include "vault/vault.h"
#include "vault/wipe.h"
#include "seams/dialogs.h"
#include "seams/messages.h"
#include "seams/program.h"

#include <QFileInfo>

#include <optional>

namespace {

bool endWith(Dialogs &dialogs, Program &program, const messages::Box &box)
{
    messages::tell(dialogs, box);
    program.end();
    return false;
}

bool wrongPassword(Dialogs &dialogs, Program &program)
{
    return endWith(dialogs, program, messages::wrongPassword());
}

QString askPassword(Dialogs &dialogs)
{
    // Masked: a password typed in clear could be read over the user's shoulder.
    return dialogs.input(QStringLiteral("Enter the Password"), QStringLiteral("Password"), Dialogs::Echo::Masked);
}

bool wrongPasswordOrDamage(Dialogs &dialogs, Program &program)
{
    return endWith(dialogs, program, messages::wrongPasswordOrDamage());
}

void tellMended(Dialogs &dialogs, KeySlotFile::Mend mend)
{
    if (mend == KeySlotFile::Mend::Mended)
        messages::tell(dialogs, messages::keySlotMended());
    else if (mend == KeySlotFile::Mend::Failed)
        messages::tell(dialogs, messages::keySlotNotMended());
}

bool signInEncrypted(const KeySlotFile &file, Dialogs &dialogs, Program &program, std::shared_ptr<Vault> *vault)
{
    if (!file.isReadable() || !vault) {
        return endWith(dialogs, program, messages::damagedKeySlot());
    }
    guardProcessMemory();
    QString answer = askPassword(dialogs);
    const SecretBytes password = keyslot::passwordBytes(answer);
    wipe(answer);
    auto signedIn = file.signIn(password);
    if (!signedIn)
        return file.copiesDiffer() ? wrongPasswordOrDamage(dialogs, program) : wrongPassword(dialogs, program);
    tellMended(dialogs, signedIn->mend);
    *vault = std::make_shared<Vault>(std::move(signedIn->opened.key), std::move(signedIn->opened.slot));
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
            messages::tell(dialogs, messages::passwordTooShort(passwordpolicy::kShortestPlain));
            continue;
        }
        const QString again = dialogs.input(QStringLiteral("Enter the same password again."), title, Dialogs::Echo::Masked);
        if (again.isEmpty())
            return std::nullopt;
        if (again == first)
            return first;
        messages::tell(dialogs, messages::passwordsDiffer());
    }
}

} // namespace

bool SignIn(const QString &passwordFile, Dialogs &dialogs, Program &program, std::shared_ptr<Vault> *vault)
{
    if (!QFileInfo(passwordFile).isFile()) {
        return endWith(dialogs, program, messages::passwordFileTampered());
    }
    if (const KeySlotFile keySlots(passwordFile); keySlots.isEncrypted())
        return signInEncrypted(keySlots, dialogs, program, vault);
    const QByteArray stored = passwordfile::readStored(passwordFile);
    if (stored == passwordfile::noPasswordMarker()) {
        messages::tell(dialogs, messages::noPassword());
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
        messages::tell(dialogs, messages::passwordNotChanged());
        return;
    }
    if (!passwordfile::write(passwordFile, *answer)) {
        messages::tell(dialogs, messages::passwordNotSaved());
        return;
    }
    messages::tell(dialogs, messages::passwordSaved());
}
