#include "lookledger.h"

#include "privatefiles.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

#include <sys/stat.h>

namespace {

constexpr QByteArrayView kMagic("QNLOOK01");
// Larger than any record a century of pages and its history makes.
constexpr qint64 kLargestRecord = 64 * 1024 * 1024;

// The diary folder itself is part of every key, so a record never speaks for
// another folder mounted or restored under the same name.
std::uint64_t folderIdentity(const QString &rootPath)
{
    struct stat info {};
    if (::stat(QFile::encodeName(rootPath).constData(), &info) != 0)
        return 0;
    return std::uint64_t(info.st_dev) * 0x9E3779B97F4A7C15ULL ^ std::uint64_t(info.st_ino);
}

} // namespace

QString LookLedger::recordPath(const QString &rootPath)
{
    const QByteArray folder = QFileInfo(rootPath).canonicalFilePath().toUtf8();
    const QByteArray name = QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(32);
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/quillnest/looks/")
        + QString::fromLatin1(name);
}

LookLedger::LookLedger(const QString &rootPath)
{
    if (rootPath.isEmpty())
        return;
    m_record = recordPath(rootPath);
    QFile record(m_record);
    const qint64 size = record.size();
    const qint64 head = kMagic.size() + qint64(sizeof m_seed);
    QByteArray bytes;
    if (size >= head && size <= kLargestRecord && (size - head) % 8 == 0 && record.open(QIODevice::ReadOnly))
        bytes = record.readAll();
    if (bytes.size() == size && bytes.startsWith(kMagic)) {
        std::memcpy(&m_seed, bytes.constData() + kMagic.size(), sizeof m_seed);
        m_known.resize(std::size_t(size - head) / 8);
        std::memcpy(m_known.data(), bytes.constData() + head, m_known.size() * 8);
        std::ranges::sort(m_known);
    } else {
        m_seed = QRandomGenerator::system()->generate64();
    }
    m_folder = folderIdentity(rootPath);
}

// The standard library's string hash is the same in every run, unlike Qt's,
// which is seeded anew in each process.
std::uint64_t LookLedger::keyOf(std::string_view folder, std::string_view name, ino_t inode) const
{
    std::string bytes;
    bytes.reserve(2 * sizeof(std::uint64_t) + folder.size() + name.size() + 1);
    const std::uint64_t words[2]{m_seed ^ m_folder, std::uint64_t(inode)};
    bytes.append(reinterpret_cast<const char *>(words), sizeof words);
    bytes.append(folder).append(1, '/').append(name);
    return std::hash<std::string_view>{}(bytes);
}

bool LookLedger::seenBefore(std::string_view folder, std::string_view name, ino_t inode)
{
    if (m_record.isEmpty() || m_known.empty())
        return false;
    const std::uint64_t key = keyOf(folder, name, inode);
    if (!std::ranges::binary_search(m_known, key))
        return false;
    m_seen.push_back(key);
    return true;
}

void LookLedger::add(std::string_view folder, std::string_view name, ino_t inode)
{
    if (!m_record.isEmpty())
        m_seen.push_back(keyOf(folder, name, inode));
}

void LookLedger::keep() const
{
    std::vector<std::uint64_t> seen = m_seen;
    std::ranges::sort(seen);
    if (m_record.isEmpty() || seen.size() < kWorthKeeping || seen == m_known
        || !privatefiles::makeFolder(QFileInfo(m_record).path()))
        return;
    QSaveFile record(m_record);
    if (!record.open(QIODevice::WriteOnly) || !privatefiles::makePrivate(record))
        return;
    record.write(kMagic.data(), kMagic.size());
    record.write(reinterpret_cast<const char *>(&m_seed), sizeof m_seed);
    record.write(reinterpret_cast<const char *>(seen.data()), qint64(seen.size() * sizeof seen.front()));
    record.commit();
}
