#include "backup.h"

#include "backupzip.h"
#include "safewrite.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

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
        const QString name = zip::entryName(archive, i);
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
    return QDir().mkpath(path) ? Outcome::success() : Outcome::failure(QStringLiteral("The folder %1 cannot be created.").arg(path));
}

Outcome restoreEntry(zip_t *archive, zip_uint64_t index, const QString &zipPath, const QString &newRoot)
{
    const QString name = zip::entryName(archive, index);
    const QString path = newRoot + QLatin1Char('/') + name;
    if (name.endsWith(QLatin1Char('/')))
        return makeFolder(path);
    const auto bytes = entryBytes(archive, index);
    if (!bytes)
        return damaged(zipPath, QStringLiteral("%1 cannot be read whole").arg(name));
    const Outcome folder = makeFolder(QFileInfo(path).absolutePath());
    return folder ? writeFileAtomically(path, *bytes) : folder;
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

Outcome prepareFolder(const QString &newRoot, bool &created)
{
    const QFileInfo folder(newRoot);
    created = !folder.exists();
    if (created)
        return makeFolder(newRoot);
    if (!folder.isDir() || !QDir(newRoot).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        return Outcome::failure(QStringLiteral("'%1' is not empty; a backup is only restored into a new folder.").arg(newRoot));
    return Outcome::success();
}

// The folder was new or empty, so all it holds now is ours.
void removeRestored(const QString &newRoot, bool created)
{
    QDir folder(newRoot);
    if (created) {
        folder.removeRecursively();
        return;
    }
    for (const QFileInfo &entry : folder.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (entry.isDir())
            QDir(entry.filePath()).removeRecursively();
        else
            folder.remove(entry.fileName());
    }
}

} // namespace

Outcome restore(const QString &zipPath, const QString &newRoot)
{
    if (!QFileInfo(zipPath).isFile())
        return Outcome::failure(QStringLiteral("There is no backup at %1.").arg(zipPath));
    bool created = false;
    const Outcome ready = prepareFolder(newRoot, created);
    if (!ready)
        return ready;
    const Outcome restored = restoreInto(zipPath, newRoot);
    if (!restored)
        removeRestored(newRoot, created);
    return restored;
}

} // namespace backup
