#pragma once

#include "diary/outcome.h"

#include <QString>
#include <QStringList>

// The files and folders an export made, so that one stopped or failed part
// way takes them all away again.
class ExportedFiles
{
public:
    // Makes the folder and any missing folder above it.
    Outcome makeFolder(const QString &path);
    Outcome write(const QString &path, const QByteArray &bytes);
    void removeAll();

private:
    QStringList m_files;
    QStringList m_folders;
};
