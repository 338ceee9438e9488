#include "dayonefiles.h"

#include "jsonexport.h"

#include "import/readers.h"

#include "diary/backupzip.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace diaryimport::dayone {

namespace {

bool isJournal(const QString &file)
{
    return !file.contains(QLatin1Char('/')) && file.endsWith(QLatin1String(".json"), Qt::CaseInsensitive);
}

// The size an archive states may lie, so the bound holds while reading too.
std::optional<QByteArray> boundedEntry(zip_t *archive, zip_uint64_t index, const QString &name, qint64 largest, QString &why)
{
    QByteArray bytes;
    bool tooLarge = false;
    const bool whole = backup::zip::readEntry(archive, index, [&](QByteArrayView chunk) {
        bytes.append(chunk);
        tooLarge = bytes.size() > largest;
        return !tooLarge;
    });
    if (tooLarge)
        why = diaryimport::tooLarge(name, largest);
    else if (!whole)
        why = QStringLiteral("%1: cannot be read whole, so the archive is damaged").arg(name);
    return whole ? std::optional(bytes) : std::nullopt;
}

class ZipFiles : public Files
{
public:
    ZipFiles(const QString &name, backup::zip::Archive archive)
        : Files(name)
        , m_archive(std::move(archive))
    {
        const zip_int64_t count = zip_get_num_entries(m_archive.get(), 0);
        for (zip_int64_t i = 0; i < count; ++i)
            m_indexes.insert(backup::zip::entryName(m_archive.get(), zip_uint64_t(i)), zip_uint64_t(i));
    }

    QStringList journals() const override
    {
        QStringList names;
        for (auto it = m_indexes.begin(); it != m_indexes.end(); ++it) {
            if (isJournal(it.key()))
                names.append(it.key());
        }
        names.sort();
        return names;
    }

    bool contains(const QString &file) const override { return m_indexes.contains(file); }

    std::optional<QByteArray> read(const QString &file, QString &why, qint64 largest) const override
    {
        const auto found = m_indexes.constFind(file);
        if (found == m_indexes.constEnd()) {
            why = QStringLiteral("%1: is missing").arg(nameOf(file));
            return std::nullopt;
        }
        if (statedSize(*found) > zip_uint64_t(largest)) {
            why = tooLarge(nameOf(file), largest);
            return std::nullopt;
        }
        return boundedEntry(m_archive.get(), *found, nameOf(file), largest, why);
    }

private:
    zip_uint64_t statedSize(zip_uint64_t index) const
    {
        zip_stat_t stat;
        zip_stat_init(&stat);
        const bool known = zip_stat_index(m_archive.get(), index, 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) != 0;
        return known ? stat.size : 0;
    }

    backup::zip::Archive m_archive;
    QHash<QString, zip_uint64_t> m_indexes;
};

class FolderFiles : public Files
{
public:
    FolderFiles(const QString &name, const QString &path)
        : Files(name)
        , m_folder(path)
    {
    }

    QStringList journals() const override
    {
        return m_folder.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    }

    bool contains(const QString &file) const override { return QFileInfo(m_folder.filePath(file)).isFile(); }

    std::optional<QByteArray> read(const QString &file, QString &why, qint64 largest) const override
    {
        return json::readBounded(m_folder.filePath(file), nameOf(file), largest, why);
    }

private:
    QDir m_folder;
};

} // namespace

std::unique_ptr<Files> openFiles(const QString &path, QString &why)
{
    const QFileInfo info(path);
    if (info.isDir())
        return std::make_unique<FolderFiles>(QFileInfo(QDir::cleanPath(path)).fileName(), path);
    QString reason;
    auto archive = backup::zip::open(path, ZIP_RDONLY, reason);
    if (!archive) {
        why = QStringLiteral("%1: is neither a Day One export's zip nor its folder: %2").arg(info.fileName(), reason);
        return nullptr;
    }
    return std::make_unique<ZipFiles>(info.fileName(), std::move(archive));
}

} // namespace diaryimport::dayone
