#include "ui/startfolder.h"

#include <QDir>
#include <QFileInfo>

QString startFolder(QStandardPaths::StandardLocation kind)
{
    const QString folder = QStandardPaths::writableLocation(kind);
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}
