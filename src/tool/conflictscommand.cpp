#include "diarycommand.h"
#include "toolcommands.h"
#include "toolsupport.h"

#include "diary/history.h"
#include "sync/conflictcopies.h"
#include "sync/copylines.h"

namespace tool {

namespace {

void list(const conflictcopies::Found &copy)
{
    if (!copy.regular)
        printLine(QStringLiteral("%1: named as a copy of %2, but not a regular file; left alone").arg(copy.copy, copy.original));
    else if (copy.opens)
        printLine(QStringLiteral("%1: a copy of %2 (%3)").arg(copy.copy, copy.original, conflictnames::describe(copy.name)));
    else
        printLine(QStringLiteral("%1: named as a copy of %2, but does not open as it; left alone").arg(copy.copy, copy.original));
}

} // namespace

int conflictsCommand(const QStringList &arguments)
{
    const QCommandLineOption merge(QStringLiteral("merge"),
                                   QStringLiteral("Fold each page's or note's copy into it where no question is needed: the same "
                                                  "text, one holding all of the other, or changes to different paragraphs of "
                                                  "a version the history keeps. Both sides stay in the history; the rest are listed."));
    DiaryCommand command(QStringLiteral("Lists the copies a folder-sync tool made of pages, notes and the password "
                                        "file changed on two computers, each with the file it is a copy of."),
                         {merge});
    if (const auto stop = command.start(arguments, 0))
        return *stop;
    const bool merging = command.parser().isSet(merge);
    if (merging && !command.claim())
        return kFailed;
    int left = 0;
    int failed = 0;
    const history::PruneLater pruneOnce;
    for (const conflictcopies::Found &copy : conflictcopies::find(command.root())) {
        const auto lines = merging ? copylines::of(command.root(), copy) : std::nullopt;
        const auto result = lines ? copymerge::resolve(command.root(), copy, *lines) : copymerge::Result::Asks;
        if (result == copymerge::Result::Merged) {
            printLine(QStringLiteral("%1: merged into %2").arg(copy.copy, copy.original));
            continue;
        }
        if (result == copymerge::Result::Failed) {
            printError(QStringLiteral("cannot merge %1 into %2").arg(copy.copy, copy.original));
            ++failed;
        }
        list(copy);
        ++left;
    }
    printLine(left == 1 ? QStringLiteral("1 conflict copy") : QStringLiteral("%1 conflict copies").arg(left));
    return failed == 0 ? kDone : kFailed;
}

} // namespace tool
