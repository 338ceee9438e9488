#include "diarycommand.h"
#include "toolcommands.h"
#include "toolsupport.h"

#include "diary/backup.h"

namespace tool {

// No diary lock: a backup only reads, and every save is an atomic rename.
int backupCommand(const QStringList &arguments)
{
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("The archive to write."), QStringLiteral("FILE.zip"));
    const QCommandLineOption withHistory(QStringLiteral("with-history"),
                                         QStringLiteral("Also the earlier versions of pages and notes."));
    DiaryCommand command(QStringLiteral("Writes the diary's pages, notes and password file into one zip "
                                        "archive, kept only once it reads back the same as the diary."),
                         {out, withHistory}, DiaryCommand::Password::None);
    if (const auto stop = command.start(arguments, 0))
        return *stop;
    const auto zipPath = requiredValue(command.parser(), out);
    if (!zipPath)
        return kUsage;
    QStringList leftOut;
    const Outcome saved = backup::write(command.root(), *zipPath, command.parser().isSet(withHistory), &leftOut);
    for (const QString &name : leftOut)
        printLine(QStringLiteral("%1: not a regular file; left out").arg(name));
    if (saved)
        printLine(QStringLiteral("Backup saved"));
    return exitCode(saved);
}

} // namespace tool
