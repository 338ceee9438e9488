#include "toolcommands.h"
#include "toolpassword.h"
#include "toolsupport.h"

#include "diary/filelist.h"
#include "diary/search.h"

namespace tool {

int searchCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Lists the page files that hold TERM, oldest day first. "
                                                    "The search is case-sensitive."));
    parser.addOption(rootOption());
    parser.addOption(passwordFdOption());
    parser.addPositionalArgument(QStringLiteral("TERM"), QStringLiteral("The text to look for."));
    if (const auto stop = parseOrExit(parser, arguments, 1))
        return *stop;
    const auto root = openedRootOption(parser);
    if (!root)
        return dataRootFailure(parser);

    const QString term = parser.positionalArguments().constFirst();
    for (const QString &name : searchPages(root->pagesDir(), sortedFileNames(root->pagesDir()), term, root->vault()))
        printLine(name);
    return kDone;
}

} // namespace tool
