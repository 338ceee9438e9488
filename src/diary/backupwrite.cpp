#include "backup.h"

#include "backupzip.h"
#include "boundedfile.h"
#include "daykeys.h"
#include "safewrite.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <algorithm>
#include <filesystem>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace backup {

namespace {

// The unfinished archive's name carries this mark, and so does the file
// libzip writes beside it while closing, so what a killed backup left is
// known for ours and removed by the next one. A backup running at this
// moment into the same folder may lose its file: it then fails and says so.
const QString kPartMark = QStringLiteral(".quillnest-backup-part-");

void removeParts(const QString &folder)
{
    QDir dir(folder);
    for (const QString &name : dir.entryList({QStringLiteral(".*") + kPartMark + QLatin1Char('*')}, QDir::Files | QDir::Hidden))
        dir.remove(name);
}

Outcome notWritten(const QString &zipPath, const QString &why)
{
    return Outcome::failure(QStringLiteral("The backup %1 could not be written: %2").arg(zipPath, why));
}

Outcome notVerified(const QString &zipPath, const QString &why)
{
    return Outcome::failure(QStringLiteral("The backup %1 did not read back as the diary is (%2), so it was not kept.").arg(zipPath, why));
}

// The raw bytes of a name, as the file system has them: a name that is not
// UTF-8 is kept as it is rather than turned into another name.
using Names = QList<QByteArray>;

QString shown(const QByteArray &name)
{
    return QString::fromUtf8(name);
}

QByteArray diskPath(const DataRoot &root, const QByteArray &name)
{
    return QFile::encodeName(root.path()) + '/' + name;
}

bool hidden(const std::filesystem::path &path)
{
    return path.filename().native().starts_with('.');
}

// Every name under history/ is the diary's. In pages/ and dates/ a name
// that is no page's or note's, such as a sync tool's copy, is the diary's
// only as a regular file: a FIFO, a folder or a link so named is left out.
bool diaryName(const QByteArray &folder, const std::filesystem::path &path)
{
    const QString name = QFile::decodeName(QByteArray::fromStdString(path.filename().native()));
    if (folder == "pages")
        return daykeys::isPageFileName(name);
    return folder == "history" || daykeys::monthDayFromNoteKey(daykeys::keyFromFileName(name)).has_value();
}

// The archive's names in their order. The folders come first, ending in "/",
// so a restored diary has them even when they are empty. Hidden names are no
// part of the diary: a save's temporary file, the drafts.
std::optional<Names> diaryNames(const DataRoot &root, bool withHistory, QString &why, QStringList &leftOut)
{
    Names names{"pages/", "dates/"};
    if (QFileInfo(root.passwordFile()).isFile())
        names.append("pw.dat");
    QList<QByteArray> folders{"pages", "dates"};
    if (withHistory)
        folders.append("history");
    const std::filesystem::path top(QFile::encodeName(root.path()).toStdString());
    Names files;
    for (const QByteArray &folder : folders) {
        std::error_code error;
        std::filesystem::recursive_directory_iterator it(top / folder.toStdString(), error), end;
        for (; !error && it != end; it.increment(error)) {
            if (hidden(it->path())) {
                it.disable_recursion_pending();
                continue;
            }
            std::error_code unknown;
            const QByteArray name = QByteArray::fromStdString(it->path().lexically_relative(top).native());
            const bool link = it->is_symlink(unknown);
            const bool ours = diaryName(folder, it->path());
            if (!ours && (link || !it->is_regular_file(unknown))) {
                it.disable_recursion_pending();
                leftOut << shown(name);
                continue;
            }
            if (it->is_directory(unknown))
                continue;
            // A FIFO is passed over as any listing does; a link under a diary
            // name that leads to one, or to a device, is refused by name.
            if (!it->is_regular_file(unknown)) {
                if (!link)
                    continue;
                why = QStringLiteral("%1 is not a regular file").arg(shown(name));
                return std::nullopt;
            }
            const std::uintmax_t size = it->file_size(unknown);
            if (!unknown && size > std::uintmax_t(zip::kLargestFile)) {
                why = QStringLiteral("%1 is larger than any diary file; move it out of the diary to back up").arg(shown(diskPath(root, name)));
                return std::nullopt;
            }
            files.append(name);
        }
        if (error && error != std::errc::no_such_file_or_directory) {
            why = QStringLiteral("%1: %2").arg(root.path() + QLatin1Char('/') + shown(folder), QString::fromStdString(error.message()));
            return std::nullopt;
        }
    }
    std::ranges::sort(files);
    return names + files;
}

// Opened as boundedfile opens one: a FIFO or a device under a diary name must
// not stall or fill the backup.
bool openRaw(QFile &file, const QByteArray &path)
{
    const int fd = boundedfile::openRegular(AT_FDCWD, path.constData());
    if (fd < 0)
        return false;
    if (file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
}

std::optional<qint64> regularSize(const QByteArray &path)
{
    QFile file;
    if (!openRaw(file, path))
        return std::nullopt;
    return file.size();
}

// libzip does not say which file it could not read, so a failed archive
// looks for it: a backup that leaves a page out must say which.
std::optional<QByteArray> unreadable(const DataRoot &root, const Names &names)
{
    for (const QByteArray &name : names) {
        QFile file;
        if (name.endsWith('/'))
            continue;
        if (!openRaw(file, diskPath(root, name)))
            return name;
        char buffer[64 * 1024];
        qint64 got = 0;
        while ((got = file.read(buffer, sizeof buffer)) > 0) {
        }
        if (got < 0)
            return name;
    }
    return std::nullopt;
}

// libzip reads each file only while it closes the archive, and then no more
// of it than it held when it was added. A name that is valid UTF-8 is marked
// so; any other is stored as its bytes are.
Outcome add(zip_t *archive, const DataRoot &root, const QByteArray &name)
{
    const auto added = [&](bool done) {
        return done ? Outcome::success() : Outcome::failure(QStringLiteral("%1: %2").arg(shown(name), QString::fromLocal8Bit(zip_strerror(archive))));
    };
    const zip_flags_t encoding = QByteArrayView(name).isValidUtf8() ? ZIP_FL_ENC_UTF_8 : ZIP_FL_ENC_GUESS;
    if (name.endsWith('/'))
        return added(zip_dir_add(archive, name.constData(), encoding) >= 0);
    const QByteArray path = diskPath(root, name);
    const auto size = regularSize(path);
    if (!size)
        return Outcome::failure(QStringLiteral("%1 is not a regular file").arg(shown(name)));
    zip_source_t *source = zip_source_file(archive, path.constData(), 0, *size);
    if (!source)
        return added(false);
    if (zip_file_add(archive, name.constData(), source, encoding) >= 0)
        return added(true);
    zip_source_free(source);
    return added(false);
}

// A full disk shows only here, when zip_close writes.
Outcome writeArchive(const DataRoot &root, const QString &path, const Names &names, const QString &zipPath)
{
    QString why;
    zip::Archive archive = zip::open(path, ZIP_CREATE | ZIP_TRUNCATE, why);
    if (!archive)
        return notWritten(zipPath, why);
    for (const QByteArray &name : names) {
        if (const Outcome added = add(archive.get(), root, name); !added)
            return notWritten(zipPath, added.error());
    }
    if (zip_close(archive.get()) != 0) {
        why = QString::fromLocal8Bit(zip_strerror(archive.get()));
        if (const auto name = unreadable(root, names))
            why = QStringLiteral("%1 could not be read (%2)").arg(shown(diskPath(root, *name)), why);
        return notWritten(zipPath, why);
    }
    archive.release();
    return Outcome::success();
}

bool sameBytes(zip_t *archive, zip_uint64_t index, const QByteArray &diskPath)
{
    QFile file;
    if (!openRaw(file, diskPath))
        return false;
    const bool read = zip::readEntry(archive, index, [&](QByteArrayView chunk) { return QByteArrayView(file.read(chunk.size())) == chunk; });
    return read && file.atEnd();
}

Outcome verify(const DataRoot &root, const QString &path, const Names &names, const QString &zipPath)
{
    QString why;
    const zip::Archive archive = zip::open(path, ZIP_RDONLY | ZIP_CHECKCONS, why);
    if (!archive)
        return notVerified(zipPath, why);
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    if (count != names.size())
        return notVerified(zipPath, QStringLiteral("%1 entries instead of %2").arg(count).arg(names.size()));
    for (zip_uint64_t i = 0; i < zip_uint64_t(count); ++i) {
        const QByteArray &name = names[qsizetype(i)];
        const bool folder = name.endsWith('/');
        if (zip_get_name(archive.get(), i, ZIP_FL_ENC_RAW) != name || (!folder && !sameBytes(archive.get(), i, diskPath(root, name))))
            return notVerified(zipPath, shown(name));
    }
    return Outcome::success();
}

} // namespace

Outcome write(const DataRoot &root, const QString &zipPath, bool withHistory, QStringList *leftOut)
{
    QString why;
    QStringList strays;
    const auto names = diaryNames(root, withHistory, why, strays);
    std::ranges::sort(strays);
    if (leftOut)
        *leftOut = strays;
    if (!names)
        return notWritten(zipPath, why);
    // Beside the target, so the last step is a rename; hidden, and removed on
    // any failure. The archive keeps its owner-only permissions: a diary is private.
    const QFileInfo target(zipPath);
    removeParts(target.absolutePath());
    QTemporaryFile incomplete(target.absolutePath() + QStringLiteral("/.") + target.fileName() + kPartMark + QStringLiteral("XXXXXX"));
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
