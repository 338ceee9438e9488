#include "toolcommands.h"
#include "toolsupport.h"

#include "diary/backup.h"

namespace tool {

int restoreCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Makes a diary in DIR from an archive that 'backup' wrote. DIR must "
                                                    "be new or empty; a damaged archive leaves nothing behind."));
    const QCommandLineOption from(QStringLiteral("from"), QStringLiteral("The archive to restore."), QStringLiteral("FILE.zip"));
    const QCommandLineOption root(QStringLiteral("root"), QStringLiteral("The new diary's data folder."), QStringLiteral("DIR"));
    parser.addOptions({from, root});
    if (const auto stop = parseOrExit(parser, arguments, 0))
        return *stop;
    const auto zipPath = requiredValue(parser, from);
    const auto newRoot = zipPath ? requiredValue(parser, root) : std::nullopt;
    if (!newRoot)
        return kUsage;
    const Outcome restored = backup::restore(*zipPath, *newRoot);
    if (restored)
        printLine(QStringLiteral("Backup restored"));
    return exitCode(restored);
}

} // namespace tool
