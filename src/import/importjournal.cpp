#include "importjournal.h"

#include "diary/boundedfile.h"
#include "diary/daykeys.h"
#include "diary/pagestore.h"
#include "diary/safewrite.h"
#include "vault/vault.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

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
    if (!read)
        return;
    const QList<QByteArray> record = read.bytes.trimmed().split(' ');
    if (record.size() != 2)
        return;
    if (const auto day = daykeys::dateFromDayKey(QString::fromLatin1(record[0]))) {
        m_day = *day;
        m_pageHash = record[1];
    }
}

// The recorded day is done once its page is no longer the one it was before.
bool ImportJournal::done(QDate day) const
{
    return m_day.isValid() && (day < m_day || (day == m_day && pageHash(day) != m_pageHash));
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
