#include "importjournal.h"

#include "diary/boundedfile.h"
#include "diary/daykeys.h"
#include "diary/pagestore.h"
#include "diary/safewrite.h"
#include "vault/vault.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace diaryimport {

namespace {

// Room for a day key, a hash and a little more; a longer file is not ours.
constexpr qint64 kLargestRecord = 256;
const QByteArray kNoPage = "none";

QByteArray fingerprint(const std::vector<Entry> &entries)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const Entry &kept : entries) {
        const Entry entry = wholeEntry(kept);
        const QString time = entry.time ? entry.time->toString(Qt::ISODateWithMs) : QString();
        for (const QString &part : {entry.day.toString(Qt::ISODate), time, entry.title, entry.text}) {
            hash.addData(QByteArray::number(part.size()));
            hash.addData(QByteArrayView(reinterpret_cast<const char *>(part.utf16()), part.size() * 2));
        }
        hash.addData(QByteArray::number(int(entry.markup)));
    }
    return hash.result().toHex().left(32);
}

} // namespace

ImportJournal::ImportJournal(const DataRoot &root, const std::vector<Entry> &entries)
    : m_root(root)
    , m_path(QDir(root.path()).filePath(QStringLiteral(".import-") + QString::fromLatin1(fingerprint(entries))))
{
    const boundedfile::Contents read = boundedfile::read(m_path, kLargestRecord);
    if (!read && !QFileInfo::exists(m_path) && !QFileInfo(m_path).isSymLink())
        return;
    const QList<QByteArray> record = read.bytes.trimmed().split(' ');
    const auto day = record.size() == 2 ? daykeys::dateFromDayKey(QString::fromLatin1(record[0])) : std::nullopt;
    m_unreadable = !read || !day;
    if (m_unreadable)
        return;
    m_day = *day;
    m_pageHash = record[1];
    m_foreignDay = std::ranges::none_of(entries, [this](const Entry &entry) { return entry.day == m_day; });
}

std::optional<QString> ImportJournal::unfit() const
{
    if (!m_unreadable && !m_foreignDay)
        return std::nullopt;
    const QString name = QFileInfo(m_path).fileName();
    return m_unreadable ? QStringLiteral("The record %1 an earlier run of this import left cannot be read; remove it to import again").arg(name)
                        : QStringLiteral("The record %1 an earlier run of this import left names %2, a day this import does not have; remove it to import again")
                              .arg(name, daykeys::dayKey(m_day));
}

// The recorded day is done once its page is no longer the one it was before.
bool ImportJournal::done(QDate day) const
{
    if (!m_day.isValid() || day > m_day)
        return false;
    // An earlier day without a page cannot have been stored: the record is not to be trusted there.
    return day < m_day ? pagestore::exists(m_root, day) : pageHash(day) != m_pageHash;
}

Outcome ImportJournal::starting(QDate day) const
{
    return writeFileAtomically(m_path, daykeys::dayKey(day).toLatin1() + ' ' + pageHash(day) + "\r\n");
}

void ImportJournal::finished() const
{
    QFile::remove(m_path);
}

QByteArray ImportJournal::pageHash(QDate day) const
{
    // Storing the day puts a page in place of whatever was there, so a file
    // that is no page's counts as none.
    const boundedfile::Contents page = boundedfile::read(m_root.pagePath(daykeys::dayKey(day)),
                                                           pagestore::kLargestPageFile + Vault::kOverhead);
    if (!page)
        return kNoPage;
    return QCryptographicHash::hash(page.bytes, QCryptographicHash::Sha256).toHex();
}

} // namespace diaryimport
