#include "sealedmark.h"

#include "boundedfile.h"
#include "keyslotfile.h"
#include "vault/vault.h"

#include <QDir>
#include <QFile>

#include <array>
#include <cstring>

#include <dirent.h>
#include <sys/stat.h>

#include <fcntl.h>
#include <unistd.h>

namespace sealedmark {

namespace {

// Pages first: a sealed diary nearly always has one, so the look ends there.
const std::array<QString, 4> kFolders{QStringLiteral("pages"), QStringLiteral("dates"), QStringLiteral(".drafts"),
                                      QStringLiteral("history")};
// history/pages/yyyy-mm/ is the deepest a diary's file lies.
constexpr int kDeepest = 3;

bool beginsSealed(int folder, const char *name)
{
    const int fd = boundedfile::openUnmarked(folder, name);
    if (fd < 0)
        return false;
    char head[4];
    const ssize_t got = ::read(fd, head, sizeof head);
    ::close(fd);
    return got == ssize_t(sizeof head) && QByteArrayView(head, sizeof head) == sealing::kHeader;
}

bool isFolder(int folder, const dirent &entry)
{
    if (entry.d_type != DT_UNKNOWN)
        return entry.d_type == DT_DIR;
    struct stat info {};
    return ::fstatat(folder, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
}

// Every sealed file is one the program wrote: a FIFO, a device or a link
// (one named like a sync tool's copy, say) is not opened to look.
bool mayBeSealed(const dirent &entry)
{
    return entry.d_type == DT_REG || entry.d_type == DT_UNKNOWN;
}

// Names are read straight from the folder, without a stat of each file, as
// a plain diary of a century of pages is looked through at every start.
// Returns the first sealed file's name below the diary folder.
std::optional<QString> sealedFileIn(int fd, int depth, const QString &prefix)
{
    DIR *folder = ::fdopendir(fd);
    if (!folder) {
        ::close(fd);
        return std::nullopt;
    }
    std::optional<QString> found;
    const auto named = [&prefix](const char *name) { return prefix + QLatin1Char('/') + QFile::decodeName(name); };
    for (const dirent *entry = nullptr; !found && (entry = ::readdir(folder));) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        if (isFolder(::dirfd(folder), *entry)) {
            const int inner = depth > 1 ? ::openat(::dirfd(folder), entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC) : -1;
            found = inner >= 0 ? sealedFileIn(inner, depth - 1, named(entry->d_name)) : std::nullopt;
        } else if (mayBeSealed(*entry) && beginsSealed(::dirfd(folder), entry->d_name))
            found = named(entry->d_name);
    }
    ::closedir(folder);
    return found;
}

} // namespace

std::optional<QString> sealedFile(const QString &rootPath)
{
    const QDir root(rootPath);
    for (const QString &name : kFolders) {
        const int fd = ::open(QFile::encodeName(root.filePath(name)).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (auto found = sealedFileIn(fd, kDeepest, name))
            return found;
    }
    return std::nullopt;
}

std::optional<QString> passwordFileLost(const DataRoot &root)
{
    if (KeySlotFile(root.passwordFile()).isEncrypted())
        return std::nullopt;
    const auto found = sealedFile(root.path());
    if (!found)
        return std::nullopt;
    return QStringLiteral("This diary is encrypted, but its password file is missing or is not an encrypted diary's. "
                          "Nothing has been changed. (%1 is sealed.)").arg(*found);
}

} // namespace sealedmark
