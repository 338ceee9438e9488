#include "copymerge.h"

#include "syncthingdevice.h"
#include "threeway.h"

#include "diary/ancestry.h"
#include "diary/dataroot.h"
#include "diary/history.h"
#include "diary/notestore.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace copymerge {

namespace {

QList<ancestry::Link> linksOf(const QList<history::Version> &versions)
{
    QList<ancestry::Link> links;
    for (const history::Version &version : versions)
        links.append({version.own, version.successor, version.path, version.id.section(u'+', 0, 0)});
    return links;
}

std::optional<QStringList> baseLines(const ancestry::Lineage &lineage, const QString &id, const Lines &lines,
                                     const Side &ours, const Side &theirs)
{
    if (id == theirs.from)
        return theirs.lines;
    if (id == ours.from && ours.stored)
        return ours.lines;
    const QString path = lineage.pathOf(id);
    return path.isEmpty() ? std::nullopt : lines.read(path);
}

Result setAside(const DataRoot &root, const QString &file, const QString &copyFile, const QString &successor,
                const QString &own = {})
{
    history::setAside(root, file, copyFile, successor, own);
    return QFileInfo::exists(copyFile) ? Result::Failed : Result::Merged;
}

} // namespace

// Two versions equally near, as when both computers merged the same copy,
// must agree on the merge, or the user is asked.
std::optional<QStringList> merge(const DataRoot &root, const QString &file, const Lines &lines, const Side &ours,
                                 const Side &theirs)
{
    if (ours.lines == theirs.lines)
        return ours.lines;
    const ancestry::Lineage lineage(linksOf(history::versions(root, file)));
    std::optional<QStringList> merged;
    for (const QString &id : lineage.nearestCommon(ours.from, theirs.from)) {
        const auto base = baseLines(lineage, id, lines, ours, theirs);
        const auto both = base ? threeway::merge(*base, ours.lines, theirs.lines) : std::nullopt;
        if (!both || (merged && *merged != *both))
            return std::nullopt;
        merged = both;
    }
    return merged;
}

Lines noteLines(const DataRoot &root, daykeys::MonthDay monthDay)
{
    const QString note = root.notePath(monthDay);
    return {[&root, note](const QString &file) -> std::optional<QStringList> {
                const auto bytes = notestore::loadFile(root, file, note);
                if (!bytes)
                    return std::nullopt;
                static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
                return notestore::decodeNote(*bytes).split(lineEnd);
            },
            [&root, monthDay](const QStringList &lines) { return notestore::save(root, monthDay, lines.join(u'\n')); },
            // A note is plain text: an empty line sets the heading apart.
            [](const QString &text) { return QStringList{QString(), text}; }};
}

// A copy of the very bytes stored needs no reading, as many copies of one large page would cost each its own.
Result resolve(const DataRoot &root, const conflictcopies::Found &copy, const Lines &lines)
{
    const QString file = root.path() + u'/' + copy.original;
    const QString copyFile = root.path() + u'/' + copy.copy;
    const QString ourId = ancestry::idOfFile(file);
    const QString theirId = ancestry::idOfFile(copyFile);
    if (!ourId.isEmpty() && ourId == theirId)
        return setAside(root, file, copyFile, ourId, theirId);
    const auto ours = lines.read(file);
    const auto theirs = lines.read(copyFile);
    if (!ours || !theirs)
        return Result::Asks;
    const auto both = merge(root, file, lines, {*ours, ourId}, {*theirs, theirId});
    if (!both)
        return Result::Asks;
    if (*both != *ours && !lines.save(*both))
        return Result::Failed;
    return setAside(root, file, copyFile, ancestry::idOfFile(file));
}

// Keeping this computer's text reads neither: a copy too large or damaged to read can still be set aside.
Outcome settle(const DataRoot &root, const conflictcopies::Found &copy, const Lines &lines, Keep keep,
               const QString &heading)
{
    const QString file = root.path() + u'/' + copy.original;
    const QString copyFile = root.path() + u'/' + copy.copy;
    if (keep != Keep::This) {
        const auto ours = keep == Keep::Both ? lines.read(file) : std::optional<QStringList>(QStringList());
        const auto theirs = lines.read(copyFile);
        if (!ours || !theirs)
            return Outcome::failure(QStringLiteral("cannot read %1").arg(ours ? copy.copy : copy.original));
        if (Outcome saved = lines.save(keep == Keep::Other ? *theirs : bothKept(*ours, *theirs, lines, heading)); !saved)
            return saved;
    }
    history::setAside(root, file, copyFile, ancestry::idOfFile(file));
    return QFileInfo::exists(copyFile) ? Outcome::failure(QStringLiteral("cannot move %1 to the history").arg(copy.copy))
                                       : Outcome::success();
}

QStringList bothKept(const QStringList &ours, const QStringList &theirs, const Lines &lines, const QString &heading)
{
    return ours + lines.heading(heading) + theirs;
}

QString otherHeading(const conflictnames::Copy &name)
{
    return (fromOtherComputer(name) ? QStringLiteral("From the other computer (%1):") : QStringLiteral("The other version (%1):"))
        .arg(conflictnames::describe(name));
}

QString otherCaption(const conflictnames::Copy &name)
{
    return (fromOtherComputer(name) ? QStringLiteral("On the other computer (%1)") : QStringLiteral("The other version (%1)"))
        .arg(conflictnames::describe(name));
}

// Syncthing names the copy after the winner: this computer's id there makes the copy the other computer's text.
bool fromOtherComputer(const conflictnames::Copy &name)
{
    return name.tool == conflictnames::Tool::Syncthing && !name.source.isEmpty() && name.source == syncthingdevice::thisShortId();
}

} // namespace copymerge
