#include "fileopens.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cstring>

// Closes are watched too: the kernel merges equal notices that follow each
// other unread, and an open then a close then an open are never equal.
FileOpens::FileOpens(const QStringList &folders) : m_fd(inotify_init1(IN_NONBLOCK))
{
    for (const QString &folder : folders)
        inotify_add_watch(m_fd, folder.toLocal8Bit().constData(), IN_OPEN | IN_CLOSE);
}

FileOpens::~FileOpens()
{
    close(m_fd);
}

QMap<QString, int> FileOpens::take()
{
    QMap<QString, int> opens;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t size; (size = read(m_fd, buffer, sizeof buffer)) > 0;) {
        for (ssize_t at = 0; at < size;) {
            inotify_event event;
            std::memcpy(&event, buffer + at, sizeof event);
            const QString name = event.len ? QString::fromLocal8Bit(buffer + at + sizeof event) : QString();
            if ((event.mask & IN_OPEN) && !(event.mask & IN_ISDIR) && !name.isEmpty())
                ++opens[name];
            at += ssize_t(sizeof event + event.len);
        }
    }
    return opens;
}
