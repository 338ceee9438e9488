#include "restorestaging.h"

#include "privatefiles.h"
#include "safewrite.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// Made first in every staging folder and locked for as long as its restore
// runs. A kill releases the lock, so a mark nobody holds tells a leftover.
const QString kMark = QStringLiteral("quillnest-restoring");
const QString kDiary = QStringLiteral("diary");

QString namePrefix(const QFileInfo &target)
{
    return QLatin1Char('.') + target.fileName() + QStringLiteral(".restoring-");
}

// Cleaned, so a target given as "new/" is named "new" and not taken for a
// folder inside it.
QString absoluteTarget(const QString &target)
{
    return QDir::cleanPath(QFileInfo(target).absoluteFilePath());
}

QString markOf(const QString &folder)
{
    return folder + QLatin1Char('/') + kMark;
}

// Non-blocking, so a mark that someone replaced by a pipe cannot stall us.
void removeIfUnlocked(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(markOf(folder)).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        QDir(folder).removeRecursively();
    ::close(fd);
}

} // namespace

void RestoreStaging::removeLeftovers(const QString &target)
{
    const QFileInfo info(absoluteTarget(target));
    // QTemporaryDir fills the six X of its template with letters and digits.
    const QRegularExpression ours(
        QRegularExpression::anchoredPattern(QRegularExpression::escape(namePrefix(info)) + QStringLiteral("[A-Za-z0-9]{6}")));
    QDir parent = info.absoluteDir();
    for (const QFileInfo &entry : parent.entryInfoList(QDir::Dirs | QDir::Hidden | QDir::NoSymLinks | QDir::NoDotAndDotDot)) {
        // An empty one was killed before its mark was made.
        if (ours.match(entry.fileName()).hasMatch() && !parent.rmdir(entry.fileName()))
            removeIfUnlocked(entry.filePath());
    }
}

RestoreStaging::RestoreStaging(const QString &target) : m_target(absoluteTarget(target))
{
    const QFileInfo info(m_target);
    if (!privatefiles::makeFolder(info.absolutePath()))
        return;
    m_folder.emplace(info.absolutePath() + QLatin1Char('/') + namePrefix(info) + QStringLiteral("XXXXXX"));
    if (!m_folder->isValid())
        return;
    const int fd = ::open(QFile::encodeName(markOf(m_folder->path())).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && privatefiles::makeFolder(diaryPath()))
        m_lock = fd;
    else
        ::close(fd);
}

RestoreStaging::~RestoreStaging()
{
    m_folder.reset();
    if (m_lock >= 0)
        ::close(m_lock);
}

QString RestoreStaging::diaryPath() const
{
    return m_folder->filePath(kDiary);
}

Outcome RestoreStaging::moveIntoPlace() const
{
    // The restored diary replaces an empty folder the user made, and is private as every diary folder.
    const QString diary = diaryPath();
    if (!syncFileSystem(diary))
        return Outcome::failure(QStringLiteral("The restored files could not be synced to disk."));
    return replaceDurably(diary, m_target);
}
