#include "boundedfile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace boundedfile {

namespace {

Contents refused(const QString &problem)
{
    return Contents{{}, problem};
}

Contents tooLarge(qint64 limit)
{
    return Contents{{}, QStringLiteral("larger than %1 bytes").arg(limit), true};
}

// Reads to the end, never more than one byte past limit: the file may grow
// between the size check and the reading.
Contents readOpen(int fd, qint64 size, qint64 limit)
{
    QByteArray bytes(std::min(size, limit) + 1, Qt::Uninitialized);
    qsizetype used = 0;
    for (;;) {
        if (used == bytes.size()) {
            if (used > limit)
                return tooLarge(limit);
            bytes.resize(std::min(bytes.size() * 2, limit + 1));
        }
        const ssize_t got = ::read(fd, bytes.data() + used, size_t(bytes.size() - used));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return refused(qt_error_string(errno));
        if (got == 0)
            break;
        used += got;
    }
    bytes.truncate(used);
    return Contents{bytes, {}};
}

// O_NONBLOCK keeps the open itself from waiting for a FIFO's writer; the
// type is then checked on the open descriptor, so nothing can be swapped in
// between the check and the reading. info keeps what the check saw, so no
// caller needs to look at the file again.
int openRegular(int folder, const char *name, int flags, struct stat &info)
{
    const int fd = ::openat(folder, name, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | flags);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

QString whyNotOpened()
{
    return errno == EINVAL ? QStringLiteral("not a regular file") : qt_error_string(errno);
}

} // namespace

int openRegular(int folder, const char *name, int flags)
{
    struct stat info {};
    return openRegular(folder, name, flags, info);
}

int openUnmarked(int folder, const char *name)
{
    const int fd = openRegular(folder, name, O_NOATIME);
    if (fd >= 0 || errno != EPERM)
        return fd;
    return openRegular(folder, name);
}

Opened open(const QString &path, qint64 limit)
{
    struct stat info {};
    const int fd = openRegular(AT_FDCWD, QFile::encodeName(path).constData(), 0, info);
    if (fd < 0)
        return Opened{nullptr, whyNotOpened()};
    auto file = std::make_unique<QFile>();
    if (info.st_size > limit || !file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return info.st_size > limit ? Opened{nullptr, tooLarge(limit).problem, true} : Opened{nullptr, file->errorString()};
    }
    return Opened{std::move(file), {}};
}

// Straight from the descriptor: a QFile around it would look at the file twice more.
Contents read(const QString &path, qint64 limit)
{
    struct stat info {};
    const int fd = openRegular(AT_FDCWD, QFile::encodeName(path).constData(), 0, info);
    if (fd < 0)
        return refused(whyNotOpened());
    Contents contents = info.st_size > limit ? tooLarge(limit) : readOpen(fd, info.st_size, limit);
    ::close(fd);
    return contents;
}

} // namespace boundedfile
