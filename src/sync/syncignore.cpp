#include "syncignore.h"

#include "diary/privatefiles.h"

#include <QDir>
#include <QFile>

namespace syncignore {

QByteArray patterns()
{
    return "// Written by Quillnest: these files belong to one computer.\n"
           "/.drafts\n"
           "/.quillnest-lock\n"
           "/.converting\n"
           "/.converting-old\n"
           ".*.quillnest-saving-*\n";
}

bool writeIfShared(const QString &diaryFolder)
{
    const QDir folder(diaryFolder);
    if (!folder.exists(QStringLiteral(".stfolder")))
        return false;
    // Made only where no file is, so rules the user writes meanwhile stay theirs.
    QFile file(folder.filePath(QStringLiteral(".stignore")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    if (privatefiles::makePrivate(file) && file.write(patterns()) == patterns().size() && file.flush())
        return true;
    file.remove();
    return false;
}

} // namespace syncignore
