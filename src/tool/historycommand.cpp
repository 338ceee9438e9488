#include "diarycommand.h"
#include "toolcommands.h"
#include "toolsupport.h"

#include "diary/history.h"
#include "diary/pagestore.h"
#include "richtext/pagecontent.h"

namespace tool {

namespace {

// One version a line, however long a page's first paragraph is.
constexpr qsizetype kShownFirstLine = 80;

// A version that does not open is marked, and makes the exit 1.
bool listVersions(const DataRoot &root, const QString &pageFile)
{
    bool allOpen = true;
    for (const history::Version &version : history::versions(root, pageFile)) {
        const auto bytes = pagestore::loadFile(root, version.path, pageFile);
        allOpen = allOpen && bytes;
        printLine(QStringLiteral("%1\t%2\t%3 bytes\t%4")
                      .arg(version.id.section(u'+', 0, 0), version.replaced.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
                      .arg(version.size)
                      .arg(bytes ? richtext::firstLine(*bytes).left(kShownFirstLine) : history::kDoesNotOpen));
    }
    return allOpen;
}

} // namespace

int historyCommand(const QStringList &arguments)
{
    const QCommandLineOption day = dayOption();
    const QCommandLineOption restore(QStringLiteral("restore"), QStringLiteral("Make version ID the day's page again; "
                                                                               "the page it replaces is kept."),
                                     QStringLiteral("ID"));
    DiaryCommand command(QStringLiteral("Lists the earlier versions of a day's page, newest first, each line "
                                        "starting with its id; --restore brings one back."),
                         {day, restore});
    if (const auto stop = command.start(arguments, 0))
        return *stop;
    const auto date = dayOptionValue(command.parser(), day);
    if (!date)
        return kUsage;
    const QString pageFile = command.root().pagePath(*date);
    if (!command.parser().isSet(restore)) {
        return listVersions(command.root(), pageFile) ? kDone : kFailed;
    }
    if (!command.claim())
        return kFailed;
    return exitCode(history::restore(command.root(), pageFile, command.parser().value(restore)));
}

} // namespace tool
