#include "copymerge.h"

#include "threeway.h"

#include "diary/dataroot.h"
#include "diary/history.h"
#include "diary/notestore.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace copymerge {

namespace {

// The version both sides grew from is the newest one they merge over; with
// none, one side must hold the other.
std::optional<QStringList> merged(const DataRoot &root, const QString &file, const Lines &lines,
                                  const QStringList &ours, const QStringList &theirs)
{
    if (ours == theirs)
        return ours;
    for (const history::Version &version : history::versions(root, file)) {
        const auto base = lines.read(version.path);
        if (!base)
            continue;
        if (auto both = threeway::merge(*base, ours, theirs))
            return both;
    }
    return threeway::containing(ours, theirs);
}

} // namespace

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
            [&root, monthDay](const QStringList &lines) { return notestore::save(root, monthDay, lines.join(u'\n')); }};
}

Result resolve(const DataRoot &root, const conflictcopies::Found &copy, const Lines &lines)
{
    const QString file = root.path() + u'/' + copy.original;
    const QString copyFile = root.path() + u'/' + copy.copy;
    const auto ours = lines.read(file);
    const auto theirs = lines.read(copyFile);
    if (!ours || !theirs)
        return Result::Asks;
    const auto both = merged(root, file, lines, *ours, *theirs);
    if (!both)
        return Result::Asks;
    if (*both != *ours && !lines.save(*both))
        return Result::Failed;
    history::setAside(root, file, copyFile);
    return QFileInfo::exists(copyFile) ? Result::Failed : Result::Merged;
}

} // namespace copymerge
