#include "diary/ioreason.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace ioreason {

QString describe(int error)
{
    switch (error) {
    case ENOSPC:
        return QStringLiteral("The disk is full.");
    case EDQUOT:
        return QStringLiteral("Your share of the disk is used up.");
    case EFBIG:
        return QStringLiteral("The file has grown larger than this disk or system allows.");
    case ENAMETOOLONG:
        return QStringLiteral("The file name is too long.");
    case EACCES:
    case EPERM:
        return QStringLiteral("You are not allowed to use this file.");
    case EROFS:
        return QStringLiteral("The disk can only be read.");
    case EIO:
        return QStringLiteral("The disk could not be read or written; it may be failing or was removed.");
    case ENOENT:
        return QStringLiteral("The file or its folder does not exist.");
    case ENOTDIR:
        return QStringLiteral("A part of the file's path is not a folder.");
    case EISDIR:
        return QStringLiteral("The name is a folder's, not a file's.");
    case ELOOP:
        return QStringLiteral("The file's path has too many links.");
    case EMFILE:
    case ENFILE:
    case ENOMEM:
        return QStringLiteral("The system has run short of resources.");
    default:
        return QStringLiteral("The system reports: %1.").arg(qt_error_string(error));
    }
}

QString failure(const QString &path, int error)
{
    return QStringLiteral("%1: %2").arg(path, describe(error));
}

QString unreadable(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return failure(path, errno);
    ::close(fd);
    return QStringLiteral("%1: %2").arg(path, QStringLiteral("The file is damaged, too large or not a diary file."));
}

} // namespace ioreason
