#include "safewrite.h"

#include "ioreason.h"
#include "privatefiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <map>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The new bytes go to a hidden file beside the target, renamed over it once
// complete. The name carries this mark, which no other file has, so the
// leftover of a save killed before its rename is known for ours and removed.
const QString kSavingMark = QStringLiteral(".quillnest-saving-");

// Without this a power cut right after the rename may bring back the old name.
void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// Once per folder and process, since listing a century of pages on every save
// would cost more than the save. A save running at this moment in another
// process may lose its temporary file: it then fails and says so.
void removeLeftovers(const QString &folder)
{
    static std::map<QString, pid_t> sweptBy;
    pid_t &sweeper = sweptBy[folder];
    if (sweeper == ::getpid())
        return;
    sweeper = ::getpid();
    QDir dir(folder);
    for (const QString &name : dir.entryList({QLatin1Char('*') + kSavingMark + QLatin1Char('*')}, QDir::Files | QDir::Hidden))
        dir.remove(name);
}

// Qt's own text says "Unknown error" where the failing call was not its own
// (fdatasync on a full disk), so the system's error number is asked first.
Outcome failed(const QFileDevice &file, const QString &path)
{
    if (errno != 0)
        return Outcome::failure(ioreason::failure(path, errno));
    return Outcome::failure(QStringLiteral("%1: %2").arg(path, file.errorString()));
}

Outcome renameOver(const QString &from, const QString &to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return Outcome::failure(ioreason::failure(to, errno));
    syncFolder(QFileInfo(to).absolutePath());
    return Outcome::success();
}

} // namespace

Outcome writeFileAtomically(const QString &path, const QByteArray &bytes, const BeforeReplacing &beforeReplacing)
{
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    struct stat info {};
    if (::stat(QFile::encodeName(folder).constData(), &info) != 0)
        return Outcome::failure(ioreason::failure(folder, errno));
    if (!S_ISDIR(info.st_mode))
        return Outcome::failure(ioreason::failure(folder, ENOTDIR));
    removeLeftovers(folder);

    const QString temporaryName = QStringLiteral(".") + target.fileName() + kSavingMark + QStringLiteral("XXXXXX");
    // QTemporaryFile reports a name the folder cannot hold as a missing file.
    const long longestName = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
    if (longestName > 0 && QFile::encodeName(temporaryName).size() > longestName)
        return Outcome::failure(ioreason::failure(path, ENAMETOOLONG));
    errno = 0;
    // Removed by its destructor on any failure, so the old file stays alone.
    QTemporaryFile file(folder + QLatin1Char('/') + temporaryName);
    if (!file.open())
        return failed(file, path);
    // A rewrite makes an older file private too, whatever its mode was.
    if (!privatefiles::makePrivate(file) || file.write(bytes) != bytes.size() || !file.flush() || ::fdatasync(file.handle()) != 0)
        return failed(file, path);
    if (beforeReplacing) {
        if (const Outcome ready = beforeReplacing(); !ready)
            return ready;
    }
    const Outcome renamed = renameOver(file.fileName(), path);
    if (renamed)
        file.setAutoRemove(false);
    return renamed;
}

Outcome replaceDurably(const QString &from, const QString &to)
{
    const int fd = ::open(QFile::encodeName(from).constData(), O_RDONLY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fdatasync(fd) == 0;
    const int error = errno;
    if (fd >= 0)
        ::close(fd);
    if (!synced)
        return Outcome::failure(ioreason::failure(from, error));
    return renameOver(from, to);
}

bool syncFileSystem(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::syncfs(fd) == 0;
    ::close(fd);
    return synced;
}
