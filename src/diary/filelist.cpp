#include "filelist.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

QStringList sortedFileNames(const QString &folder)
{
    // Byte order of the names, so the page files run oldest day first.
    QStringList names = QDir(folder).entryList(QDir::Files, QDir::NoSort);
    std::sort(names.begin(), names.end());
    return names;
}

FileList::FileList(QString path) : m_path(std::move(path))
{
    refresh();
}

bool FileList::setPath(const QString &path)
{
    if (!QFileInfo(path).isDir())
        return false;
    m_path = path;
    refresh();
    return true;
}

void FileList::refresh()
{
    m_entries = m_path.isEmpty() ? QStringList() : sortedFileNames(m_path);
}
