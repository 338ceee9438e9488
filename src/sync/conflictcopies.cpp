#include "conflictcopies.h"

#include "diary/boundedfile.h"
#include "diary/dataroot.h"
#include "diary/daykeys.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

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

// A plain copy opens when it can be read within its limit, which opening it
// tells without reading it: each copy is then read once, by its merge, however
// many there are or however large.
bool opensAs(const DataRoot &root, Kind kind, const QString &copy, const QString &original)
{
    switch (kind) {
    case Kind::Page:
        return root.vault() ? pagestore::loadFile(root, copy, original).has_value()
                            : bool(boundedfile::open(copy, pagestore::kLargestPageFile));
    case Kind::Note:
        return root.vault() ? notestore::loadFile(root, copy, original).has_value()
                            : bool(boundedfile::open(copy, notestore::kLargestNoteFile));
    case Kind::PasswordFile:
        return true;
    }
    return false;
}

// Every name of the folder that may be a copy's, whatever it is: listing
// the files alone would hide a FIFO or a link to a device named like a
// copy. Every tool's name says "conflict", so a century of pages is passed
// over without decoding or sorting their names.
QStringList copyNames(const QString &folder)
{
    QStringList names;
    DIR *listing = ::opendir(QFile::encodeName(folder).constData());
    if (!listing)
        return names;
    while (const dirent *entry = ::readdir(listing)) {
        if (entry->d_name[0] != '.' && std::strstr(entry->d_name, "conflict"))
            names.append(QFile::decodeName(entry->d_name));
    }
    ::closedir(listing);
    std::ranges::sort(names);
    return names;
}

// A link is not one, wherever it leads.
bool isRegular(const QString &path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

void findIn(const DataRoot &root, const QString &folder, Kind kind, QList<Found> &found)
{
    for (const QString &name : copyNames(folder)) {
        const auto copy = conflictnames::recognise(name);
        if (!copy || !belongsTo(kind, copy->original))
            continue;
        const QString copyPath = folder + QLatin1Char('/') + name;
        const QString originalPath = folder + QLatin1Char('/') + copy->original;
        const bool regular = isRegular(copyPath);
        found.append({kind, root.relativeName(copyPath), root.relativeName(originalPath), *copy,
                      regular && opensAs(root, kind, copyPath, originalPath), regular});
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
