#include "diarycommand.h"

#include "toolpassword.h"
#include "toolsupport.h"

#include "diary/conversion.h"
#include "diary/keyslotfile.h"
#include "diary/sealedmark.h"
#include "vault/processguard.h"
#include "vault/vault.h"
#include "vault/wipe.h"

#include <QFileInfo>

namespace tool {

namespace {

QCommandLineOption rootOption()
{
    return QCommandLineOption(QStringLiteral("root"), QStringLiteral("The diary's data folder."), QStringLiteral("DIR"));
}

// A conversion cut off by a kill is finished or dropped before anything reads
// the diary, but never under a window that is converting it right now.
bool settleConversion(const DataRoot &root)
{
    if (!conversion::interrupted(root.path()))
        return true;
    DiaryLock lock(root);
    if (!claimDiary(lock))
        return false;
    conversion::finishInterrupted(root.path());
    return true;
}

// Qt reads the command line as UTF-8 and turns bytes that are not into
// U+FFFD, so a folder named in another encoding cannot be reached by its name.
QString unreadableName(const QString &path)
{
    return QStringLiteral("%1: the folder's name is not UTF-8, which this tool cannot open; rename it or name it through a "
                          "link whose name is UTF-8").arg(path);
}

// The data root named by --root, when it holds a pages folder and its
// password file has not been swapped for a plain one under sealed files.
std::optional<DataRoot> namedRoot(const QCommandLineParser &parser, DiaryCommand::SealedPages pages)
{
    const QString path = parser.value(QStringLiteral("root"));
    if (path.isEmpty()) {
        printError(QStringLiteral("--root DIR is required"));
        return std::nullopt;
    }
    if (!QFileInfo(path).isDir()) {
        printError(path.contains(QChar::ReplacementCharacter) ? unreadableName(path) : QStringLiteral("no data folder at %1").arg(path));
        return std::nullopt;
    }
    // Absolute, as the window's is: names relative to the root are taken from it.
    DataRoot root(QFileInfo(path).absoluteFilePath());
    if (!settleConversion(root))
        return std::nullopt;
    if (!QFileInfo(root.pagesDir()).isDir()) {
        printError(QStringLiteral("no pages folder in %1").arg(path));
        return std::nullopt;
    }
    if (pages == DiaryCommand::SealedPages::Looked) {
        if (const auto lost = sealedmark::passwordFileLost(root)) {
            printError(*lost);
            return std::nullopt;
        }
    }
    return root;
}

// The data root of --root, opened with its password when it is encrypted.
std::optional<DataRoot> unlockedRoot(const QCommandLineParser &parser, DiaryCommand::SealedPages pages)
{
    const auto root = namedRoot(parser, pages);
    if (!root)
        return std::nullopt;
    const KeySlotFile file(root->passwordFile());
    if (!file.isEncrypted())
        return root;
    guardProcessMemory();
    if (!file.isReadable()) {
        printError(QStringLiteral("the password file of this encrypted diary is damaged; nothing has been changed"));
        return std::nullopt;
    }
    auto typed = readPassword(parser, QStringLiteral("Password"));
    if (!typed)
        return std::nullopt;
    auto opened = openKeySlot(file, keyslot::passwordBytes(*typed));
    wipe(*typed);
    if (!opened)
        return std::nullopt;
    return DataRoot(root->path(), std::make_shared<Vault>(std::move(opened->key), std::move(opened->slot)));
}

} // namespace

DiaryCommand::DiaryCommand(const QString &description, const QList<QCommandLineOption> &options, Password password)
    : m_password(password)
{
    m_parser.setApplicationDescription(description);
    m_parser.addOption(rootOption());
    if (password != Password::None)
        m_parser.addOption(passwordFdOption());
    m_parser.addOptions(options);
}

std::optional<int> DiaryCommand::start(const QStringList &arguments, int positional)
{
    if (const auto stop = parse(arguments, positional))
        return stop;
    return open();
}

std::optional<int> DiaryCommand::parse(const QStringList &arguments, int positional)
{
    return parseOrExit(m_parser, arguments, positional);
}

std::optional<int> DiaryCommand::open(SealedPages pages)
{
    m_root = m_password == Password::Unlocks ? unlockedRoot(m_parser, pages) : namedRoot(m_parser, pages);
    // A missing --root is a wrong argument; a folder that does not open, a failure.
    if (!m_root)
        return m_parser.value(QStringLiteral("root")).isEmpty() ? kUsage : kFailed;
    return std::nullopt;
}

bool DiaryCommand::claim()
{
    m_lock.emplace(*m_root);
    return claimDiary(*m_lock);
}

} // namespace tool
