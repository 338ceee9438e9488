#include "backup.h"

#include "backupzip.h"
#include "boundedfile.h"
#include "safewrite.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryFile>

#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace backup {

namespace {

Outcome notWritten(const QString &zipPath, const QString &why)
{
    return Outcome::failure(QStringLiteral("The backup %1 could not be written: %2").arg(zipPath, why));
}

Outcome notVerified(const QString &zipPath, const QString &why)
{
    return Outcome::failure(QStringLiteral("The backup %1 did not read back as the diary is (%2), so it was not kept.").arg(zipPath, why));
}

// The archive's names in their order. The folders come first, ending in "/",
// so a restored diary has them even when they are empty. Hidden names are no
// part of the diary: a save's temporary file, the drafts.
std::optional<QStringList> diaryNames(const DataRoot &root, bool withHistory, QString &why)
{
    QStringList names{QStringLiteral("pages/"), QStringLiteral("dates/")};
    if (QFileInfo(root.passwordFile()).isFile())
        names.append(QStringLiteral("pw.dat"));
    QStringList folders{QStringLiteral("pages"), QStringLiteral("dates")};
    if (withHistory)
        folders.append(QStringLiteral("history"));
    const QDir top(root.path());
    QStringList files;
    for (const QString &folder : folders) {
        QDirIterator it(top.filePath(folder), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo file = it.nextFileInfo();
            if (file.size() > zip::kLargestFile) {
                why = QStringLiteral("%1 is larger than any diary file; move it out of the diary to back up").arg(file.filePath());
                return std::nullopt;
            }
            files.append(top.relativeFilePath(file.absoluteFilePath()));
        }
    }
    files.sort();
    return names + files;
}

// The size of a regular file, opened as boundedfile opens one: a FIFO or a
// device under a diary name must not stall or fill the backup.
std::optional<qint64> regularSize(const QByteArray &path)
{
    const int fd = boundedfile::openRegular(AT_FDCWD, path.constData());
    struct stat info {};
    const bool regular = fd >= 0 && ::fstat(fd, &info) == 0;
    if (fd >= 0)
        ::close(fd);
    return regular ? std::optional<qint64>(info.st_size) : std::nullopt;
}

// libzip reads each file only while it closes the archive, and then no more
// of it than it held when it was added.
Outcome add(zip_t *archive, const DataRoot &root, const QString &name)
{
    const QByteArray utf8 = name.toUtf8();
    const auto added = [&](bool done) {
        return done ? Outcome::success() : Outcome::failure(QString::fromLocal8Bit(zip_strerror(archive)));
    };
    if (name.endsWith(QLatin1Char('/')))
        return added(zip_dir_add(archive, utf8.constData(), ZIP_FL_ENC_UTF_8) >= 0);
    const QByteArray path = QFile::encodeName(root.path() + QLatin1Char('/') + name);
    const auto size = regularSize(path);
    if (!size)
        return Outcome::failure(QStringLiteral("%1 is not a regular file").arg(name));
    zip_source_t *source = zip_source_file(archive, path.constData(), 0, *size);
    if (!source)
        return added(false);
    if (zip_file_add(archive, utf8.constData(), source, ZIP_FL_ENC_UTF_8) >= 0)
        return added(true);
    zip_source_free(source);
    return added(false);
}

// A full disk shows only here, when zip_close writes.
Outcome writeArchive(const DataRoot &root, const QString &path, const QStringList &names, const QString &zipPath)
{
    QString why;
    zip::Archive archive = zip::open(path, ZIP_CREATE | ZIP_TRUNCATE, why);
    if (!archive)
        return notWritten(zipPath, why);
    for (const QString &name : names) {
        if (const Outcome added = add(archive.get(), root, name); !added)
            return notWritten(zipPath, added.error());
    }
    if (zip_close(archive.get()) != 0)
        return notWritten(zipPath, QString::fromLocal8Bit(zip_strerror(archive.get())));
    archive.release();
    return Outcome::success();
}

bool sameBytes(zip_t *archive, zip_uint64_t index, const QString &diskPath)
{
    QFile file;
    const int fd = boundedfile::openRegular(AT_FDCWD, QFile::encodeName(diskPath).constData());
    if (fd < 0)
        return false;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    const bool read = zip::readEntry(archive, index, [&](QByteArrayView chunk) { return QByteArrayView(file.read(chunk.size())) == chunk; });
    return read && file.atEnd();
}

Outcome verify(const DataRoot &root, const QString &path, const QStringList &names, const QString &zipPath)
{
    QString why;
    const zip::Archive archive = zip::open(path, ZIP_RDONLY | ZIP_CHECKCONS, why);
    if (!archive)
        return notVerified(zipPath, why);
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    if (count != names.size())
        return notVerified(zipPath, QStringLiteral("%1 entries instead of %2").arg(count).arg(names.size()));
    for (zip_uint64_t i = 0; i < zip_uint64_t(count); ++i) {
        const QString &name = names[qsizetype(i)];
        const bool folder = name.endsWith(QLatin1Char('/'));
        if (zip::entryName(archive.get(), i) != name || (!folder && !sameBytes(archive.get(), i, root.path() + QLatin1Char('/') + name)))
            return notVerified(zipPath, name);
    }
    return Outcome::success();
}

} // namespace

Outcome write(const DataRoot &root, const QString &zipPath, bool withHistory)
{
    QString why;
    const auto names = diaryNames(root, withHistory, why);
    if (!names)
        return notWritten(zipPath, why);
    // Beside the target, so the last step is a rename; hidden, and removed on
    // any failure. The archive keeps its owner-only permissions: a diary is private.
    const QFileInfo target(zipPath);
    QTemporaryFile incomplete(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".incomplete-XXXXXX"));
    if (!incomplete.open())
        return notWritten(zipPath, incomplete.errorString());
    incomplete.close();
    Outcome written = writeArchive(root, incomplete.fileName(), *names, zipPath);
    if (written)
        written = verify(root, incomplete.fileName(), *names, zipPath);
    if (written)
        written = replaceDurably(incomplete.fileName(), zipPath);
    if (written)
        incomplete.setAutoRemove(false);
    return written;
}

} // namespace backup
