#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <memory>

// Every diary file and every file given to read is read through here: a
// folder that is hostile or damaged may hold a FIFO, a device or a link to
// one under a page's name, and reading that must neither block nor fill
// memory.
namespace boundedfile {

struct Contents
{
    QByteArray bytes;
    // Why the file was not read; empty when it was.
    QString problem;
    bool tooLarge = false;

    explicit operator bool() const { return problem.isEmpty(); }
};

// Opens name (relative to folder, or absolute with AT_FDCWD) for reading,
// with the open flags added, only when it is a regular file; -1 otherwise,
// with errno set (EINVAL when it is something else).
int openRegular(int folder, const char *name, int flags = 0);
// The same without marking the file read, which spares the kernel a step
// per file when thousands are read; only the file's owner may ask that.
int openUnmarked(int folder, const char *name);

struct Opened
{
    std::unique_ptr<QFile> file;
    // Why the file was not opened; empty when it was.
    QString problem;
    bool tooLarge = false;

    explicit operator bool() const { return problem.isEmpty(); }
};

// A regular file of at most limit bytes by its size, opened for reading with
// nothing read yet. It may still grow, so its reader stops at the limit too.
Opened open(const QString &path, qint64 limit);

// The whole of a regular file of at most limit bytes.
Contents read(const QString &path, qint64 limit);

} // namespace boundedfile
