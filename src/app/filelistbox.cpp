#include "filelistbox.h"

void FileListBox::showEntries(const QStringList &entries)
{
    clear();
    addItems(entries);
}
