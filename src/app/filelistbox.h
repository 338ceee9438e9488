#pragma once

#include <QListWidget>

// A visible list of file names, as the session's page list holds them.
class FileListBox : public QListWidget
{
    Q_OBJECT

public:
    using QListWidget::QListWidget;

    void showEntries(const QStringList &entries);
};
