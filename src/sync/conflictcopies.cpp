#include "conflictcopies.h"

#include "diary/dataroot.h"
#include "diary/daykeys.h"
#include "diary/filelist.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"

namespace conflictcopies {

namespace {

bool belongsTo(Kind kind, const QString &original)
{
    switch (kind) {
    case Kind::Page:
        return daykeys::isPageFileName(original);
    case Kind::Note:
        return daykeys::monthDayFromNoteKey(daykeys::keyFromFileName(original)).has_value();
    case Kind::PasswordFile:
        return original == QStringLiteral("pw.dat");
    }
    return false;
}

bool opensAs(const DataRoot &root, Kind kind, const QString &copy, const QString &original)
{
    switch (kind) {
    case Kind::Page:
        return pagestore::loadFile(root, copy, original).has_value();
    case Kind::Note:
        return notestore::loadFile(root, copy, original).has_value();
    case Kind::PasswordFile:
        return true;
    }
    return false;
}

void findIn(const DataRoot &root, const QString &folder, Kind kind, QList<Found> &found)
{
    for (const QString &name : sortedFileNames(folder)) {
        const auto copy = conflictnames::recognise(name);
        if (!copy || !belongsTo(kind, copy->original))
            continue;
        const QString copyPath = folder + QLatin1Char('/') + name;
        const QString originalPath = folder + QLatin1Char('/') + copy->original;
        found.append({kind, root.relativeName(copyPath), root.relativeName(originalPath), *copy,
                      opensAs(root, kind, copyPath, originalPath)});
    }
}

} // namespace

QList<Found> passwordFileCopies(const DataRoot &root)
{
    QList<Found> found;
    findIn(root, root.path(), Kind::PasswordFile, found);
    return found;
}

QList<Found> find(const DataRoot &root)
{
    QList<Found> found;
    findIn(root, root.pagesDir(), Kind::Page, found);
    findIn(root, root.datesDir(), Kind::Note, found);
    return found + passwordFileCopies(root);
}

} // namespace conflictcopies
