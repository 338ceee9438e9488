#pragma once

#include "diary/filelist.h"

#include <QListWidget>

// A visible list of a folder's files, sorted by name.
class FileListBox : public QListWidget
{
    Q_OBJECT

public:
    using QListWidget::QListWidget;

    bool setPath(const QString &path);
    QString path() const { return m_files.path(); }
    void refresh();
    const QStringList &entries() const { return m_files.entries(); }

private:
    void showEntries();
    FileList m_files;
};
