#include "diarycommand.h"
#include "toolcommands.h"
#include "toolsupport.h"

#include "diary/filelist.h"
#include "richtext/textsearch.h"

namespace tool {

int searchCommand(const QStringList &arguments)
{
    const QCommandLineOption text(QStringLiteral("text"),
                                  QStringLiteral("Look in the text the page shows; each word of TERM must be on the page."));
    const QCommandLineOption ignoreCase(QStringLiteral("ignore-case"), QStringLiteral("Match regardless of letter case."));
    const QCommandLineOption context(QStringLiteral("context"),
                                     QStringLiteral("Follow each result with the line around its first match."));
    DiaryCommand command(QStringLiteral("Lists the page files that hold TERM, oldest day first. "
                                        "The search is case-sensitive and looks in the stored markup, "
                                        "as the Search panel does as shipped."),
                         {text, ignoreCase, context});
    QCommandLineParser &parser = command.parser();
    parser.addPositionalArgument(QStringLiteral("TERM"), QStringLiteral("The text to look for."));
    if (const auto stop = command.start(arguments, 1))
        return *stop;
    const DataRoot &root = command.root();

    const QString term = parser.positionalArguments().constFirst();
    const textsearch::Options options{!parser.isSet(ignoreCase), parser.isSet(text)};
    QStringList unopened;
    for (const QString &name : textsearch::search(root, pageFileNames(root.pagesDir()), term, options, nullptr, &unopened)) {
        printLine(name);
        if (parser.isSet(context))
            printLine(QStringLiteral("    ") + textsearch::context(root, name, term, options));
    }
    // Every page was looked at; one that did not open may hold the term.
    for (const QString &name : unopened)
        printError(QStringLiteral("cannot open page %1; it was not searched").arg(name));
    return unopened.isEmpty() ? kDone : kFailed;
}

} // namespace tool
