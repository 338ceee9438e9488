#include "copymerge.h"

#include "threeway.h"

#include "diary/dataroot.h"
#include "diary/history.h"
#include "diary/notestore.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace copymerge {

// The version both sides grew from is the newest one they merge over: one
// they both changed the same lines of ends the search. With none, one side
// must hold the other.
std::optional<QStringList> merge(const DataRoot &root, const QString &file, const Lines &lines, const QStringList &ours,
                                 const QStringList &theirs)
{
    if (ours == theirs)
        return ours;
    bool clashed = false;
    for (const history::Version &version : history::versions(root, file)) {
        const auto base = lines.read(version.path);
        if (!base)
            continue;
        if (auto both = threeway::merge(*base, ours, theirs, &clashed))
            return both;
        if (clashed)
            break;
    }
    return threeway::containing(ours, theirs);
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
            [](const QString &text) { return text; }};
}

Result resolve(const DataRoot &root, const conflictcopies::Found &copy, const Lines &lines)
{
    const QString file = root.path() + u'/' + copy.original;
    const QString copyFile = root.path() + u'/' + copy.copy;
    const auto ours = lines.read(file);
    const auto theirs = lines.read(copyFile);
    if (!ours || !theirs)
        return Result::Asks;
    const auto both = merge(root, file, lines, *ours, *theirs);
    if (!both)
        return Result::Asks;
    if (*both != *ours && !lines.save(*both))
        return Result::Failed;
    history::setAside(root, file, copyFile);
    return QFileInfo::exists(copyFile) ? Result::Failed : Result::Merged;
}

Outcome settle(const DataRoot &root, const conflictcopies::Found &copy, const Lines &lines, Keep keep,
               const QString &heading)
{
    const QString file = root.path() + u'/' + copy.original;
    const QString copyFile = root.path() + u'/' + copy.copy;
    const auto ours = lines.read(file);
    const auto theirs = lines.read(copyFile);
    if (!ours || !theirs)
        return Outcome::failure(QStringLiteral("cannot read %1").arg(ours ? copy.copy : copy.original));
    if (keep != Keep::This) {
        const QStringList kept = keep == Keep::Other ? *theirs : bothKept(*ours, *theirs, lines, heading);
        if (Outcome saved = lines.save(kept); !saved)
            return saved;
    }
    history::setAside(root, file, copyFile);
    return QFileInfo::exists(copyFile) ? Outcome::failure(QStringLiteral("cannot move %1 to the history").arg(copy.copy))
                                       : Outcome::success();
}

QStringList bothKept(const QStringList &ours, const QStringList &theirs, const Lines &lines, const QString &heading)
{
    return ours + QStringList{QString(), lines.line(heading)} + theirs;
}

QString otherHeading(const conflictnames::Copy &name)
{
    return QStringLiteral("From the other computer (%1):").arg(conflictnames::describe(name));
}

} // namespace copymerge
