#include "sealedmark.h"

#include "boundedfile.h"
#include "passwordfile.h"
#include "vault/vault.h"

#include <QDir>
#include <QFile>

#include <algorithm>
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
    const int fd = boundedfile::openRegular(folder, name);
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

// Names are read straight from the folder, without a stat of each file, as
// a plain diary of a century of pages is looked through at every start.
bool folderHoldsSealed(int fd, int depth)
{
    DIR *folder = ::fdopendir(fd);
    if (!folder) {
        ::close(fd);
        return false;
    }
    bool found = false;
    while (const dirent *entry = ::readdir(folder)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        if (isFolder(::dirfd(folder), *entry)) {
            const int inner = depth > 1 ? ::openat(::dirfd(folder), entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC) : -1;
            found = inner >= 0 && folderHoldsSealed(inner, depth - 1);
        } else
            found = beginsSealed(::dirfd(folder), entry->d_name);
        if (found)
            break;
    }
    ::closedir(folder);
    return found;
}

} // namespace

bool holdsSealedFile(const QString &rootPath)
{
    const QDir root(rootPath);
    return std::ranges::any_of(kFolders, [&root](const QString &name) {
        const int fd = ::open(QFile::encodeName(root.filePath(name)).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        return fd >= 0 && folderHoldsSealed(fd, kDeepest);
    });
}

bool passwordFileLost(const DataRoot &root)
{
    return !keyslot::isKeySlot(passwordfile::readStored(root.passwordFile())) && holdsSealedFile(root.path());
}

} // namespace sealedmark
