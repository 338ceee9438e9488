#include "toolcommands.h"
#include "toolpassword.h"
#include "toolsupport.h"

#include "diary/history.h"
#include "diary/pagestore.h"
#include "richtext/pagecontent.h"

namespace tool {

namespace {

// One version a line, however long a page's first paragraph is.
constexpr qsizetype kShownFirstLine = 80;

void listVersions(const DataRoot &root, const QString &pageFile)
{
    for (const history::Version &version : history::versions(root, pageFile))
        printLine(QStringLiteral("%1\t%2\t%3 bytes\t%4")
                      .arg(version.id, version.replaced.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
                      .arg(version.size)
                      .arg(richtext::firstLine(pagestore::loadFile(root, version.path, pageFile).value_or(QByteArray())).left(kShownFirstLine)));
}

} // namespace

int historyCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Lists the earlier versions of a day's page, newest first, each line "
                                                    "starting with its id; --restore brings one back."));
    parser.addOption(rootOption());
    parser.addOption(passwordFdOption());
    const QCommandLineOption day = dayOption();
    const QCommandLineOption restore(QStringLiteral("restore"), QStringLiteral("Make version ID the day's page again; "
                                                                               "the page it replaces is kept."),
                                     QStringLiteral("ID"));
    parser.addOptions({day, restore});
    if (const auto stop = parseOrExit(parser, arguments, 0))
        return *stop;
    const auto root = openedRootOption(parser);
    if (!root)
        return dataRootFailure(parser);
    const auto dayKey = dayKeyOption(parser, day);
    if (!dayKey)
        return kUsage;
    const QString pageFile = root->pagePath(*dayKey);
    if (!parser.isSet(restore)) {
        listVersions(*root, pageFile);
        return kDone;
    }
    DiaryLock lock(*root);
    if (!claimDiary(lock))
        return kFailed;
    return exitCode(history::restore(*root, pageFile, parser.value(restore)));
}

} // namespace tool
