#include "backup.h"

#include "backupzip.h"
#include "privatefiles.h"
#include "restorestaging.h"
#include "sealedmark.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace backup {

namespace {

const QString kPasswordName = QStringLiteral("pw.dat");

Outcome damaged(const QString &zipPath, const QString &why)
{
    return Outcome::failure(QStringLiteral("'%1' is damaged or is not a Quillnest backup: %2.").arg(zipPath, why));
}

// What a backup of ours holds; anything else, above all an absolute name or
// one that climbs out with "..", is refused before a byte is written.
bool isDiaryName(const QString &name)
{
    if (name == kPasswordName)
        return true;
    const QStringList parts = name.split(QLatin1Char('/'));
    static const QStringList folders{QStringLiteral("pages"), QStringLiteral("dates"), QStringLiteral("history")};
    if (parts.size() < 2 || !folders.contains(parts.first()) || name.contains(QLatin1Char('\\')))
        return false;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        // Only a folder's name ends in "/", leaving an empty last part.
        const bool last = i == parts.size() - 1;
        if ((parts[i].isEmpty() && !last) || parts[i] == QLatin1String(".") || parts[i] == QLatin1String(".."))
            return false;
    }
    return true;
}

Outcome checkNames(zip_t *archive, const QString &zipPath)
{
    bool diary = false;
    for (zip_uint64_t i = 0; i < zip_uint64_t(zip_get_num_entries(archive, 0)); ++i) {
        // Any byte that is not UTF-8 reads as a replacement character, which is never '/' or '.'.
        const QString name = QString::fromUtf8(zip::entryName(archive, i));
        if (!isDiaryName(name))
            return Outcome::failure(
                QStringLiteral("'%1' holds '%2', which is no part of a Quillnest diary, so nothing was restored.").arg(zipPath, name));
        diary = diary || name == kPasswordName || name.startsWith(QLatin1String("pages/"));
    }
    return diary ? Outcome::success() : damaged(zipPath, QStringLiteral("it holds no pages and no password file"));
}

std::optional<QByteArray> entryBytes(zip_t *archive, zip_uint64_t index)
{
    QByteArray bytes;
    const bool read = zip::readEntry(archive, index, [&](QByteArrayView chunk) {
        bytes.append(chunk);
        return bytes.size() <= zip::kLargestFile;
    });
    return read ? std::optional(bytes) : std::nullopt;
}

Outcome makeFolder(const QString &path)
{
    return privatefiles::makeFolder(path) ? Outcome::success() : Outcome::failure(QStringLiteral("The folder %1 cannot be created.").arg(path));
}

// The staging folder is discarded whole on any failure, so one sync before
// it moves into place does what a sync of each file would.
// By the bytes of its name, which need not be UTF-8: a file the backup kept
// under such a name comes back under the same one.
Outcome writeFile(const QByteArray &path, const QByteArray &bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    QFile file;
    if (fd >= 0 && ::fchmod(fd, 0600) == 0 && file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)
        && file.write(bytes) == bytes.size() && file.flush())
        return Outcome::success();
    const QString why = fd < 0 ? qt_error_string(errno) : file.errorString();
    if (fd >= 0 && !file.isOpen())
        ::close(fd);
    return Outcome::failure(QStringLiteral("%1: %2").arg(QFile::decodeName(path), why));
}

Outcome restoreEntry(zip_t *archive, zip_uint64_t index, const QString &zipPath, const QString &newRoot)
{
    const QByteArray name = zip::entryName(archive, index);
    const QString shownName = QString::fromUtf8(name);
    if (name.endsWith('/'))
        return makeFolder(newRoot + QLatin1Char('/') + shownName);
    const auto bytes = entryBytes(archive, index);
    if (!bytes)
        return damaged(zipPath, QStringLiteral("%1 cannot be read whole").arg(shownName));
    const qsizetype slash = name.lastIndexOf('/');
    const Outcome folder = makeFolder(newRoot + QLatin1Char('/') + QString::fromUtf8(name.left(qMax(slash, 0))));
    return folder ? writeFile(QFile::encodeName(newRoot) + '/' + name, *bytes) : folder;
}

Outcome restoreInto(const QString &zipPath, const QString &newRoot)
{
    QString why;
    const zip::Archive archive = zip::open(zipPath, ZIP_RDONLY | ZIP_CHECKCONS, why);
    if (!archive)
        return damaged(zipPath, why);
    Outcome restored = checkNames(archive.get(), zipPath);
    for (zip_uint64_t i = 0; restored && i < zip_uint64_t(zip_get_num_entries(archive.get(), 0)); ++i)
        restored = restoreEntry(archive.get(), i, zipPath, newRoot);
    // A diary always has both, even when a backup from elsewhere lacks one.
    for (const char *folder : {"/pages", "/dates"}) {
        if (restored)
            restored = makeFolder(newRoot + QLatin1String(folder));
    }
    return restored;
}

Outcome checkTarget(const QString &newRoot)
{
    const QFileInfo folder(newRoot);
    if (!folder.exists())
        return Outcome::success();
    if (!folder.isDir() || !QDir(newRoot).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        return Outcome::failure(QStringLiteral("'%1' is not empty; a backup is only restored into a new folder.").arg(newRoot));
    // The restore is built beside its target and renamed over it, which
    // cannot replace the top folder of a drive.
    if (QStorageInfo(newRoot).rootPath() == folder.canonicalFilePath())
        return Outcome::failure(QStringLiteral("'%1' is the top folder of a drive; a backup is only restored into a folder inside it.").arg(newRoot));
    return Outcome::success();
}

} // namespace

Outcome restore(const QString &zipPath, const QString &newRoot)
{
    if (!QFileInfo(zipPath).isFile())
        return Outcome::failure(QStringLiteral("There is no backup at %1.").arg(zipPath));
    RestoreStaging::removeLeftovers(newRoot);
    const Outcome target = checkTarget(newRoot);
    if (!target)
        return target;
    const RestoreStaging staging(newRoot);
    if (!staging.isReady())
        return Outcome::failure(QStringLiteral("No folder can be created in %1 to restore into.").arg(QFileInfo(newRoot).absolutePath()));
    const Outcome restored = restoreInto(zipPath, staging.diaryPath());
    if (!restored)
        return restored;
    // Such a diary would refuse to open: refused before it takes the folder.
    if (sealedmark::passwordFileLost(DataRoot(staging.diaryPath()), {}, sealedmark::Look::Afresh))
        return damaged(zipPath, QStringLiteral("its pages are encrypted, but its password file is missing or a plain diary's"));
    return staging.moveIntoPlace();
}

} // namespace backup
