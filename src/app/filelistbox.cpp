#include "filelistbox.h"

bool FileListBox::setPath(const QString &path)
{
    if (!m_files.setPath(path))
        return false;
    showEntries();
    return true;
}

void FileListBox::refresh()
{
    m_files.refresh();
    showEntries();
}

void FileListBox::showEntries()
{
    clear();
    addItems(m_files.entries());
}
