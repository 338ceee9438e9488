#include "diarycommand.h"
#include "toolcommands.h"
#include "toolpassword.h"
#include "toolsupport.h"

#include "diary/conversion.h"
#include "diary/passwordfile.h"
#include "vault/passwordpolicy.h"
#include "vault/processguard.h"
#include "vault/vault.h"
#include "vault/wipe.h"

#include <QFileInfo>
#include <QScopeGuard>

namespace tool {

namespace {

const QString kLeftOnDisk = QStringLiteral(
    "copies of the plain pages can remain on the disk, in backups, in synced copies and in snapshots; only full-disk "
    "encryption protects those");

// Both rewrite every file of the diary, so no other program may have it meanwhile.
std::optional<int> startConversion(DiaryCommand &command, const QStringList &arguments)
{
    if (const auto stop = command.start(arguments, 0))
        return stop;
    if (!command.claim())
        return kFailed;
    return std::nullopt;
}

// On a terminal the new password is typed twice; a script gives it once.
std::optional<QString> newPassword(const QCommandLineParser &parser, const DataRoot &plain)
{
    auto first = readPassword(parser, QStringLiteral("New password"));
    if (!first)
        return std::nullopt;
    auto wipeFirst = qScopeGuard([&first] { wipe(*first); });
    const bool reusesPlain = passwordfile::ScramblePassword(*first) == passwordfile::readStored(plain.passwordFile());
    if (const auto refused = passwordpolicy::refusal(*first, reusesPlain, QFileInfo(plain.path()).fileName())) {
        printError(*refused);
        return std::nullopt;
    }
    if (!parser.isSet(QStringLiteral("password-fd"))) {
        auto again = readPassword(parser, QStringLiteral("Again"));
        const bool same = again == first;
        if (again)
            wipe(*again);
        if (!same) {
            printError(QStringLiteral("the two passwords are not the same"));
            return std::nullopt;
        }
    }
    wipeFirst.dismiss();
    return first;
}

} // namespace

int encryptCommand(const QStringList &arguments)
{
    DiaryCommand command(QStringLiteral("Encrypts a plain diary in place under a new password. Copies of the plain "
                                        "pages can remain on the disk, in backups, in synced copies and in snapshots; "
                                        "only full-disk encryption protects those."),
                         {}, DiaryCommand::Password::ReadByCommand);
    if (const auto stop = startConversion(command, arguments))
        return *stop;
    const DataRoot &root = command.root();
    if (KeySlotFile(root.passwordFile()).isEncrypted()) {
        printError(QStringLiteral("the diary is encrypted already"));
        return kFailed;
    }
    guardProcessMemory();
    auto password = newPassword(command.parser(), root);
    if (!password)
        return kFailed;
    SecretBytes master = keyslot::newMasterKey();
    const auto slot = keyslot::make(master, keyslot::passwordBytes(*password), kdfPolicy().chooseForNewSlot());
    wipe(*password);
    if (!slot)
        return exitCode(Outcome::failure(QStringLiteral("there is not enough memory for the key")));
    const Vault vault(std::move(master), *slot);
    const Outcome done = conversion::encrypt(root, vault, keyslot::format(*slot));
    if (!done)
        return exitCode(done);
    printLine(QStringLiteral("Diary encrypted"));
    printError(kLeftOnDisk);
    return kDone;
}

int decryptCommand(const QStringList &arguments)
{
    DiaryCommand command(QStringLiteral("Turns an encrypted diary back into a plain one, whose password "
                                        "file holds the same password as a plain diary keeps it."),
                         {}, DiaryCommand::Password::ReadByCommand);
    if (const auto stop = startConversion(command, arguments))
        return *stop;
    const KeySlotFile file(command.root().passwordFile());
    if (!file.isEncrypted()) {
        printError(QStringLiteral("the diary is not encrypted"));
        return kFailed;
    }
    guardProcessMemory();
    auto password = readPassword(command.parser(), QStringLiteral("Password"));
    if (!password)
        return kFailed;
    const auto wipePassword = qScopeGuard([&password] { wipe(*password); });
    if (!file.isReadable())
        return exitCode(Outcome::failure(QStringLiteral("the password file is damaged; nothing has been changed")));
    auto opened = openKeySlot(file, keyslot::passwordBytes(*password));
    if (!opened)
        return kFailed;
    if (!passwordfile::keepsWhole(*password))
        return exitCode(Outcome::failure(QStringLiteral("the password has characters a plain diary cannot keep; change it first")));
    const DataRoot root(command.root().path(), std::make_shared<Vault>(std::move(opened->key), std::move(opened->slot)));
    QStringList setAside;
    const Outcome done = conversion::decrypt(root, passwordfile::fileBytes(*password), {}, &setAside);
    if (done)
        printLine(QStringLiteral("Diary decrypted"));
    for (const QString &name : setAside)
        printError(QStringLiteral("%1 does not open with this diary's key; it was left as it was in %2/").arg(name, conversion::kSetAside));
    return exitCode(done);
}

} // namespace tool
