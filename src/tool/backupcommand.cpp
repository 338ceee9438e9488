#include "toolcommands.h"
#include "toolsupport.h"

#include "diary/backup.h"

namespace tool {

// No diary lock: a backup only reads, and every save is an atomic rename.
int backupCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes the diary's pages, notes and password file into one zip "
                                                    "archive, kept only once it reads back the same as the diary."));
    parser.addOption(rootOption());
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("The archive to write."), QStringLiteral("FILE.zip"));
    const QCommandLineOption withHistory(QStringLiteral("with-history"),
                                         QStringLiteral("Also the earlier versions of pages and notes."));
    parser.addOptions({out, withHistory});
    if (const auto stop = parseOrExit(parser, arguments, 0))
        return *stop;
    const auto root = dataRootOption(parser);
    if (!root)
        return dataRootFailure(parser);
    const auto zipPath = requiredValue(parser, out);
    if (!zipPath)
        return kUsage;
    const Outcome saved = backup::write(*root, *zipPath, parser.isSet(withHistory));
    if (saved)
        printLine(QStringLiteral("Backup saved"));
    return exitCode(saved);
}

} // namespace tool
