#include "diary/diarylock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace {

// The session's runtime folder where the desktop gives one; otherwise the
// user's cache, asked for by name so that Qt warns of nothing on stderr,
// which the tool keeps for its own one-line errors.
QString lockFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/quillnest");
    QDir().mkpath(cache);
    return cache;
}

QString canonicalFolder(const DataRoot &root)
{
    const QFileInfo folder(root.path());
    return folder.exists() ? folder.canonicalFilePath() : folder.absoluteFilePath();
}

// A name that tells nothing of the folder it stands for.
QString besideTheLocks(const QString &named, const QString &suffix)
{
    const QByteArray name = QCryptographicHash::hash(named.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
    return lockFolder() + QStringLiteral("/quillnest-") + QString::fromLatin1(name) + suffix;
}

} // namespace

QString DiaryLock::lockPath(const DataRoot &root)
{
    return besideTheLocks(canonicalFolder(root), QStringLiteral(".lock"));
}

QString DiaryLock::knockPath(const DataRoot &root)
{
    return besideTheLocks(QString::number(::getuid()) + u':' + canonicalFolder(root), QStringLiteral(".knock"));
}

DiaryLock::DiaryLock(const DataRoot &root) : m_file(lockPath(root))
{
    // Only a dead holder makes a lock stale, never its age: a diary may stay open for days.
    m_file.setStaleLockTime(0);
}

DiaryLock::State DiaryLock::acquire()
{
    if (m_file.tryLock())
        return State::Held;
    return m_file.error() == QLockFile::LockFailedError ? State::HeldElsewhere : State::Unavailable;
}
