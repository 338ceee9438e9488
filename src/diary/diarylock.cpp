#include "diary/diarylock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>
#include <QStringList>

#include <thread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Enough for a program's name, its process and its host; a longer file was not written by us.
constexpr qsizetype kLargestHolder = 512;
constexpr std::chrono::milliseconds kRetryEvery{100};

// A planted link or FIFO in a hostile folder is not followed or waited on.
// It names the holder's host, so it is private like the diary; an older
// one of ours is made so too, and one of another user's is left as it is.
int openLockFile(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    if (fd >= 0 && info.st_uid == ::getuid())
        ::fchmod(fd, 0600);
    return fd;
}

// A link refused by O_NOFOLLOW, a folder or a FIFO are all "not a regular file".
QString whyNotOpened(int error)
{
    return error == EINVAL || error == ELOOP || error == EISDIR ? QStringLiteral("not a regular file") : qt_error_string(error);
}

// Only printable text of the file goes into a message.
QString printable(const QString &text)
{
    QString clean;
    for (const QChar c : text)
        if (c.isPrint())
            clean.append(c);
    return clean;
}

QString canonicalFolder(const DataRoot &root)
{
    const QFileInfo folder(root.path());
    return folder.exists() ? folder.canonicalFilePath() : folder.absoluteFilePath();
}

// The session's runtime folder where the desktop gives one; otherwise the
// user's cache, asked for by name so that Qt warns of nothing on stderr,
// which the tool keeps for its own one-line errors.
QString socketFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime;
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/quillnest");
    QDir().mkpath(cache);
    return cache;
}

} // namespace

QString DiaryLock::lockPath(const DataRoot &root)
{
    return root.path() + QStringLiteral("/.quillnest-lock");
}

// A socket cannot live on every file system a diary may, so it stays in the
// session's own folder, named after the user and the diary folder.
QString DiaryLock::knockPath(const DataRoot &root)
{
    const QString named = QString::number(::getuid()) + u':' + canonicalFolder(root);
    const QByteArray name = QCryptographicHash::hash(named.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
    return socketFolder() + QStringLiteral("/quillnest-") + QString::fromLatin1(name) + QStringLiteral(".knock");
}

DiaryLock::DiaryLock(const DataRoot &root) : m_path(lockPath(root)), m_folderPath(root.path())
{
}

// The holder is wiped before the lock goes, so a synced copy names no one.
DiaryLock::~DiaryLock()
{
    if (m_held) {
        const bool wiped = ::ftruncate(m_fd, 0) == 0;
        Q_UNUSED(wiped);
    }
    if (m_fd >= 0)
        ::close(m_fd);
    if (m_folder >= 0)
        ::close(m_folder);
}

DiaryLock::State DiaryLock::acquire(const QString &program, std::chrono::milliseconds patience)
{
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    State state = tryOnce();
    while (state == State::HeldElsewhere && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(kRetryEvery);
        state = tryOnce();
    }
    m_held = state == State::Held;
    if (m_held)
        writeHolder(program);
    return state;
}

// The folder is locked as well as the file: a file renamed over the lock
// file is no longer the one the holder locked, but the folder stays the same.
// Where the file system cannot lock a folder, the file's lock holds alone.
DiaryLock::State DiaryLock::tryOnce()
{
    if (m_fd < 0)
        m_fd = openLockFile(m_path);
    if (m_fd < 0)
        return unavailable(whyNotOpened(errno));
    if (m_folder < 0)
        m_folder = ::open(QFile::encodeName(m_folderPath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_folder >= 0 && ::flock(m_folder, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        return State::HeldElsewhere;
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
        return State::Held;
    return errno == EWOULDBLOCK ? State::HeldElsewhere : unavailable(qt_error_string(errno));
}

DiaryLock::State DiaryLock::unavailable(const QString &why)
{
    m_unavailable = why;
    if (m_folder >= 0)
        ::flock(m_folder, LOCK_UN);
    return State::Unavailable;
}

void DiaryLock::writeHolder(const QString &program)
{
    const QByteArray text = QStringList{program, QString::number(::getpid()), QSysInfo::machineHostName()}.join(QLatin1Char('\n')).toUtf8() + '\n';
    // Without the note the lock still holds; only the next program's message is vaguer.
    const bool written = ::ftruncate(m_fd, 0) == 0 && ::pwrite(m_fd, text.constData(), size_t(text.size()), 0) == text.size();
    Q_UNUSED(written);
}

QString DiaryLock::readHolder() const
{
    QByteArray text(kLargestHolder, '\0');
    const ssize_t got = m_fd < 0 ? -1 : ::pread(m_fd, text.data(), size_t(text.size()), 0);
    text.truncate(qMax<ssize_t>(got, 0));
    return QString::fromUtf8(text);
}

// A window, or a holder that has not written its name yet, keeps the window's message.
QString DiaryLock::heldElsewhereMessage() const
{
    const QStringList lines = readHolder().split(QLatin1Char('\n'));
    const QString program = printable(lines.value(0)).left(80);
    bool isNumber = false;
    const qint64 pid = lines.value(1).toLongLong(&isNumber);
    if (program.isEmpty() || program == kWindowProgram || !isNumber)
        return kDiaryAlreadyOpen;
    const QString host = printable(lines.value(2)).left(80);
    const QString process = host.isEmpty() || host == QSysInfo::machineHostName()
                                ? QStringLiteral("process %1").arg(pid)
                                : QStringLiteral("process %1 on %2").arg(pid).arg(host);
    return QStringLiteral("This diary is in use by %1 (%2); try again when it has finished.").arg(program, process);
}

QString DiaryLock::unavailableMessage() const
{
    return QStringLiteral("This diary cannot be locked (%1: %2), so it is not opened: another program could change it at the same time.")
        .arg(QDir::toNativeSeparators(m_path), m_unavailable);
}
