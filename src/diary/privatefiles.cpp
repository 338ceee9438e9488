#include "privatefiles.h"

#include <QDir>
#include <QFileInfo>

namespace privatefiles {

namespace {

void removeMade(const QStringList &made)
{
    for (auto it = made.crbegin(); it != made.crend(); ++it)
        QDir().rmdir(*it);
}

} // namespace

std::optional<QStringList> makeFolders(const QString &path)
{
    QStringList missing;
    for (QString at = QFileInfo(path).absoluteFilePath(); !QFileInfo::exists(at); at = QFileInfo(at).absolutePath())
        missing.prepend(at);
    QStringList made;
    for (const QString &folder : std::as_const(missing)) {
        const bool created = QDir().mkdir(folder, kFolder);
        if (created)
            made.append(folder);
        // mkdir's mode passes through the umask, which may take more away;
        // a folder another process made meanwhile is taken as it is.
        if (created ? !QFile::setPermissions(folder, kFolder) : !QFileInfo(folder).isDir()) {
            removeMade(made);
            return std::nullopt;
        }
    }
    if (!QFileInfo(path).isDir())
        return std::nullopt;
    return made;
}

bool openForWriting(QFile &file, QIODevice::OpenMode mode)
{
    return file.open(mode, kFile) && makePrivate(file);
}

bool makePrivate(QFileDevice &file)
{
    return file.setPermissions(kFile);
}

bool makePrivate(const QString &path)
{
    return QFile::setPermissions(path, kFile);
}

} // namespace privatefiles
