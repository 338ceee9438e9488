#include "history.h"

#include "ancestry.h"
#include "boundedfile.h"
#include "daykeys.h"
#include "privatefiles.h"
#include "safewrite.h"
#include "storedbytes.h"
#include "vault/vault.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

namespace history {

namespace {

const QString kIdFormat = QStringLiteral("yyyyMMdd-HHmmss-zzz");

// Read as UTC from the start: a local parse would look the time zone up for
// every kept version on every save.
QDateTime timeOf(const QString &id)
{
    const QDate day = QDate::fromString(id.left(8), QStringLiteral("yyyyMMdd"));
    const QTime time = QTime::fromString(id.mid(9, 10), QStringLiteral("HHmmss-zzz"));
    if (id.size() < kIdFormat.size() || id.at(8) != u'-' || !day.isValid() || !time.isValid())
        return {};
    return QDateTime(day, time, Qt::UTC);
}

// A version's file is the stored file's base name, "@" and its id.
QString baseOf(const QString &storedFile)
{
    return QFileInfo(storedFile).completeBaseName() + QLatin1Char('@');
}

// Two replacements within one millisecond get a counter, so neither is lost
// and the names stay in time order ("_" sorts after the "+" of the first).
// The hashes make every name new, so the program remembers the last stamp
// it gave; the look at the folder covers another program's.
QString freeName(const QDir &folder, const QString &base, const QDateTime &now, const QString &own, const QString &successor)
{
    static QMutex mutex;
    static QString lastStamp;
    static int sameStamp = 0;
    const QString stamp = now.toUTC().toString(kIdFormat);
    QString lineage = u'+' + own;
    if (!successor.isEmpty())
        lineage += u'+' + successor;
    int n = 1;
    {
        const QMutexLocker locked(&mutex);
        n = stamp == lastStamp ? ++sameStamp : (sameStamp = 1);
        lastStamp = stamp;
    }
    const auto id = [&stamp](int count) { return count < 2 ? stamp : stamp + QStringLiteral("_%1").arg(count, 3, 10, QLatin1Char('0')); };
    while (folder.exists(daykeys::fileName(base + id(n) + lineage)))
        ++n;
    return folder.filePath(daykeys::fileName(base + id(n) + lineage));
}

// Compared by hand rather than by a wildcard filter, which a name with
// brackets would confuse. Names first: the notes' folder holds every note's
// versions, and only this file's are worth a look at the disk.
QFileInfoList versionFiles(const DataRoot &root, const QString &storedFile)
{
    const QString base = baseOf(storedFile);
    const QDir folder(versionFolder(root, storedFile));
    QFileInfoList found;
    for (const QString &name : folder.entryList(QDir::Files, QDir::Name | QDir::Reversed)) {
        if (name.startsWith(base) && !daykeys::keyFromFileName(name).isEmpty())
            found.append(QFileInfo(folder, name));
    }
    return found;
}

QString idOf(const QFileInfo &versionFile)
{
    const QString name = daykeys::keyFromFileName(versionFile.fileName());
    return name.mid(name.lastIndexOf(QLatin1Char('@')) + 1);
}

// The link shares the stored file's mode, which its rewrite makes private
// anyway. A file of another user's keeps its mode, and is kept all the same.
bool linkOrCopy(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::create_hard_link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData(), error);
    if (error && !QFile::copy(from, to))
        return false;
    privatefiles::makePrivate(to);
    return true;
}

Outcome restoreFrom(const DataRoot &root, const QString &storedFile, const Version &version)
{
    const boundedfile::Contents kept = boundedfile::read(version.path, storedbytes::kLargestFile);
    if (!kept)
        return Outcome::failure(QStringLiteral("There is no version %1.").arg(version.id));
    // A damaged version put back would leave a file that does not open where a good one was.
    if (root.vault() && !root.vault()->open(kept.bytes, root.relativeName(storedFile)))
        return Outcome::failure(
            QStringLiteral("Version %1 does not open: it is damaged or not this file's. Nothing has been changed.").arg(version.id));
    return writeFileAtomically(storedFile, kept.bytes, keeping(root, storedFile, Unkept::Refuse, ancestry::idOf(kept.bytes)));
}

thread_local PruneLater *pruneLater = nullptr;

void pruneNowOrLater(const DataRoot &root, const QString &storedFile, const QDateTime &now)
{
    if (pruneLater)
        pruneLater->add(root, storedFile, now);
    else
        prune(root, storedFile, now);
}

} // namespace

// Pages are grouped by month, so a century of pages makes some twelve
// hundred folders rather than one per day, each a block of the disk.
QString versionFolder(const DataRoot &root, const QString &storedFile)
{
    const QFileInfo file(storedFile);
    const QString kind = file.dir().dirName();
    const QString folder = root.path() + QStringLiteral("/history/") + kind;
    return kind == QLatin1String("pages") ? folder + QLatin1Char('/') + file.completeBaseName().left(7) : folder;
}

Outcome keep(const DataRoot &root, const QString &storedFile, Unkept unkept, const QString &successor, const QDateTime &now)
{
    if (!QFileInfo(storedFile).isFile())
        return Outcome::success();
    const QString folder = versionFolder(root, storedFile);
    const bool kept = root.makeFolder(folder) &&
                      linkOrCopy(storedFile, freeName(QDir(folder), baseOf(storedFile), now, ancestry::idOfFile(storedFile), successor));
    if (kept)
        pruneNowOrLater(root, storedFile, now);
    if (kept || unkept == Unkept::GoOn)
        return Outcome::success();
    return Outcome::versionNotKept(QStringLiteral("%1: its earlier version could not be kept in %2").arg(storedFile, folder));
}

BeforeReplacing keeping(const DataRoot &root, const QString &storedFile, Unkept unkept, const QString &successor)
{
    return [root, storedFile, unkept, successor] { return keep(root, storedFile, unkept, successor); };
}

void setAside(const DataRoot &root, const QString &storedFile, const QString &file, const QString &successor,
              const QString &own, const QDateTime &now)
{
    const QString folder = versionFolder(root, storedFile);
    if (!QFileInfo(file).isFile() || !root.makeFolder(folder))
        return;
    const QString version = freeName(QDir(folder), baseOf(storedFile), now, own.isEmpty() ? ancestry::idOfFile(file) : own, successor);
    if (!QFile::rename(file, version) && QFile::copy(file, version))
        QFile::remove(file);
    privatefiles::makePrivate(version);
    pruneNowOrLater(root, storedFile, now);
}

QList<Version> versions(const DataRoot &root, const QString &storedFile)
{
    QList<Version> found;
    for (const QFileInfo &file : versionFiles(root, storedFile)) {
        const QString id = idOf(file);
        const QDateTime replaced = timeOf(id);
        const QStringList lineage = id.split(u'+');
        if (replaced.isValid())
            found.append({id, replaced, file.size(), file.filePath(), lineage.value(1), lineage.value(2)});
    }
    return found;
}

// A version is named by its whole id or by its time alone, which is all a person reads in a list.
Outcome restore(const DataRoot &root, const QString &storedFile, const QString &id)
{
    const QList<Version> kept = versions(root, storedFile);
    const auto named = std::ranges::find_if(kept, [&id](const Version &version) {
        return version.id == id || version.id.section(u'+', 0, 0) == id;
    });
    return named == kept.end() ? Outcome::failure(QStringLiteral("There is no version %1.").arg(id)) : restoreFrom(root, storedFile, *named);
}

void prune(const DataRoot &root, const QString &storedFile, const QDateTime &now)
{
    const QDateTime oldestYoung = now.addDays(-kKeptDays);
    const QFileInfoList files = versionFiles(root, storedFile);
    for (qsizetype i = kKeptVersions; i < files.size(); ++i) {
        const QDateTime replaced = timeOf(idOf(files[i]));
        if (replaced.isValid() && replaced < oldestYoung)
            QFile::remove(files[i].filePath());
    }
}

PruneLater::PruneLater() : m_outer(std::exchange(pruneLater, this)) {}

PruneLater::~PruneLater()
{
    pruneLater = m_outer;
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it)
        pruneNowOrLater(it->root, it.key(), it->now);
}

void PruneLater::add(const DataRoot &root, const QString &storedFile, const QDateTime &now)
{
    m_pending.insert(storedFile, {root, now});
}

} // namespace history
