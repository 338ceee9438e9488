#include "history.h"

#include "safewrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace history {

namespace {

const QString kIdFormat = QStringLiteral("yyyyMMdd-HHmmss-zzz");

QDateTime timeOf(const QString &id)
{
    QDateTime time = QDateTime::fromString(id.left(kIdFormat.size()), kIdFormat);
    time.setTimeSpec(Qt::UTC);
    return time;
}

// Two replacements within one millisecond get a counter, so neither is lost;
// "_" sorts after the ".dat" of the first, so names stay in time order.
QString freeName(const QDir &folder, const QDateTime &now)
{
    const QString stamp = now.toUTC().toString(kIdFormat);
    QString id = stamp;
    for (int n = 2; folder.exists(id + kFileSuffix); ++n)
        id = stamp + QStringLiteral("_%1").arg(n, 3, 10, QLatin1Char('0'));
    return folder.filePath(id + kFileSuffix);
}

bool linkOrCopy(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::create_hard_link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData(), error);
    return !error || QFile::copy(from, to);
}

} // namespace

QString versionFolder(const DataRoot &root, const QString &storedFile)
{
    const QFileInfo file(storedFile);
    return root.path() + QStringLiteral("/history/") + file.dir().dirName() + QLatin1Char('/') + file.completeBaseName();
}

void keep(const DataRoot &root, const QString &storedFile, const QDateTime &now)
{
    if (!QFileInfo(storedFile).isFile())
        return;
    const QString folder = versionFolder(root, storedFile);
    if (!QDir().mkpath(folder))
        return;
    linkOrCopy(storedFile, freeName(QDir(folder), now));
    prune(folder, now);
}

QList<Version> versions(const DataRoot &root, const QString &storedFile)
{
    QList<Version> found;
    const QDir folder(versionFolder(root, storedFile));
    for (const QFileInfo &file : folder.entryInfoList({QStringLiteral("*") + kFileSuffix}, QDir::Files, QDir::Name | QDir::Reversed)) {
        const QDateTime replaced = timeOf(file.completeBaseName());
        if (replaced.isValid())
            found.append({file.completeBaseName(), replaced, file.size(), file.filePath()});
    }
    return found;
}

Outcome restore(const DataRoot &root, const QString &storedFile, const QString &id)
{
    QFile version(QDir(versionFolder(root, storedFile)).filePath(id + kFileSuffix));
    if (id.contains(QLatin1Char('/')) || !version.open(QIODevice::ReadOnly))
        return Outcome::failure(QStringLiteral("There is no version %1.").arg(id));
    return writeFileAtomically(storedFile, version.readAll(), [&] { keep(root, storedFile); });
}

void prune(const QString &versionFolder, const QDateTime &now)
{
    const QDateTime oldestYoung = now.addDays(-kKeptDays);
    const QFileInfoList files =
        QDir(versionFolder).entryInfoList({QStringLiteral("*") + kFileSuffix}, QDir::Files, QDir::Name | QDir::Reversed);
    for (qsizetype i = kKeptVersions; i < files.size(); ++i) {
        const QDateTime replaced = timeOf(files[i].completeBaseName());
        if (replaced.isValid() && replaced < oldestYoung)
            QFile::remove(files[i].filePath());
    }
}

} // namespace history
