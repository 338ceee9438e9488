#include "diarycommand.h"
#include "toolcommands.h"
#include "toolsupport.h"

#include "sync/conflictcopies.h"

namespace tool {

namespace {

QString told(const conflictnames::Copy &name)
{
    QStringList parts{conflictnames::toolName(name.tool)};
    if (!name.source.isEmpty())
        parts << name.source;
    parts << name.date.toString(Qt::ISODate) + (name.time ? name.time->toString(QStringLiteral(" HH:mm:ss")) : QString());
    return parts.join(QStringLiteral(", "));
}

} // namespace

int conflictsCommand(const QStringList &arguments)
{
    DiaryCommand command(QStringLiteral("Lists the copies a folder-sync tool made of pages, notes and the password "
                                        "file changed on two computers, each with the file it is a copy of."));
    if (const auto stop = command.start(arguments, 0))
        return *stop;
    const QList<conflictcopies::Found> found = conflictcopies::find(command.root());
    for (const conflictcopies::Found &copy : found) {
        if (copy.opens)
            printLine(QStringLiteral("%1: a copy of %2 (%3)").arg(copy.copy, copy.original, told(copy.name)));
        else
            printLine(QStringLiteral("%1: named as a copy of %2, but does not open as it; left alone").arg(copy.copy, copy.original));
    }
    printLine(found.size() == 1 ? QStringLiteral("1 conflict copy") : QStringLiteral("%1 conflict copies").arg(found.size()));
    return kDone;
}

} // namespace tool
