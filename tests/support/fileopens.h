#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// Counts the opens of the files in some folders from the kernel's own
// notices (inotify), so a test sees every read without a hook in the program.
class FileOpens
{
public:
    explicit FileOpens(const QStringList &folders);
    ~FileOpens();
    FileOpens(const FileOpens &) = delete;
    FileOpens &operator=(const FileOpens &) = delete;

    // The opens of each file since the last call, by file name.
    QMap<QString, int> take();

private:
    int m_fd;
};
