#include "diarycommand.h"
#include "toolcommands.h"
#include "toolsupport.h"

#include "diary/filelist.h"
#include "diary/sealedmark.h"
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
                                        "as the Search panel does as shipped. A TERM that is one #tag alone "
                                        "finds the pages carrying that tag, in any letter case."),
                         {text, ignoreCase, context});
    QCommandLineParser &parser = command.parser();
    parser.addPositionalArgument(QStringLiteral("TERM"), QStringLiteral("The text to look for."));
    if (const auto stop = command.parse(arguments, 1))
        return *stop;
    if (const auto stop = command.open(DiaryCommand::SealedPages::LeftToCommand))
        return *stop;
    const DataRoot &root = command.root();

    const QString term = parser.positionalArguments().constFirst();
    const textsearch::Options options{!parser.isSet(ignoreCase), parser.isSet(text)};
    QStringList unopened, unsealed;
    const QStringList found = textsearch::search(root, pageFileNames(root.pagesDir()), term, options, nullptr, &unopened, &unsealed);
    // The pages the search has just read are not opened a second time to look for the sealed mark.
    if (const auto lost = sealedmark::passwordFileLost(root, unsealed)) {
        printError(*lost);
        return kFailed;
    }
    for (const QString &name : found) {
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
