#include "filelist.h"

#include "daykeys.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace {

// A file, or a link to one: what a file list shows.
bool isFile(DIR *folder, const dirent &entry)
{
    if (entry.d_type == DT_REG)
        return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return false;
    struct stat info {};
    return ::fstatat(::dirfd(folder), entry.d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
}

} // namespace

// Read with readdir, whose entries already tell a file from a folder: asking
// Qt for the list looked at every file in turn, which cost a search of a
// large diary a third of its time.
QStringList sortedFileNames(const QString &folder)
{
    QStringList names;
    DIR *listing = ::opendir(QFile::encodeName(folder).constData());
    if (!listing)
        return names;
    while (const dirent *entry = ::readdir(listing)) {
        // Hidden files, such as a save's temporary file, are no pages.
        if (entry->d_name[0] != '.' && isFile(listing, *entry))
            names.append(QFile::decodeName(entry->d_name));
    }
    ::closedir(listing);
    // Byte order of the names, so the page files run oldest day first.
    std::sort(names.begin(), names.end());
    return names;
}

QStringList pageFileNames(const QString &folder)
{
    QStringList names = sortedFileNames(folder);
    names.removeIf([](const QString &name) { return !daykeys::isPageFileName(name); });
    return names;
}

FileList::FileList(QString path, Filter keep) : m_path(std::move(path)), m_keep(keep)
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
    if (m_keep)
        m_entries.removeIf([this](const QString &name) { return !m_keep(name); });
}
