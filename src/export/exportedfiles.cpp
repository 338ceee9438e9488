#include "exportedfiles.h"

#include "diary/privatefiles.h"
#include "diary/safewrite.h"

#include <QDir>
#include <QFileInfo>

Outcome ExportedFiles::makeFolder(const QString &path)
{
    const QFileInfo folder(path);
    if (folder.isDir())
        return Outcome::success();
    if (folder.exists())
        return Outcome::failure(QStringLiteral("%1 is not a folder").arg(path));
    const auto made = privatefiles::makeFolders(path);
    if (!made)
        return Outcome::failure(QStringLiteral("cannot create the folder %1").arg(path));
    m_folders += *made;
    return Outcome::success();
}

Outcome ExportedFiles::write(const QString &path, const QByteArray &bytes)
{
    const Outcome written = writeFileAtomically(path, bytes);
    if (written)
        m_files.append(path);
    return written;
}

void ExportedFiles::removeAll()
{
    for (const QString &file : std::as_const(m_files))
        QFile::remove(file);
    // Deepest first; a folder that holds anything else stays.
    for (auto it = m_folders.crbegin(); it != m_folders.crend(); ++it)
        QDir().rmdir(*it);
    m_files.clear();
    m_folders.clear();
}
