#include "toolcommands.h"

#include "toolsupport.h"

#include <cstdio>

namespace tool {

namespace {

constexpr const char *kUsageText =
    "Usage: quillnest-tool COMMAND [options]\n"
    "\n"
    "Commands:\n"
    "  search        list the pages that hold a text\n"
    "  export        write the pages and notes as ordinary files, a range as Markdown or PDF\n"
    "  import        store a rich-text file as a day's page\n"
    "  import-diary  store the entries of another diary's export as pages\n"
    "  history       list or restore the earlier versions of a day's page\n"
    "  backup        write the whole diary into one zip archive\n"
    "  restore       make a new diary from such an archive\n"
    "  encrypt       encrypt a plain diary in place under a new password\n"
    "  decrypt       turn an encrypted diary back into a plain one\n"
    "  verify        name every page, note, draft and version that does not open\n"
    "\n"
    "'quillnest-tool COMMAND --help' tells more.\n";

} // namespace

int run(const QStringList &arguments)
{
    const QString command = arguments.value(1);
    const QStringList rest = arguments.mid(1);
    if (command == QLatin1String("search"))
        return searchCommand(rest);
    if (command == QLatin1String("export"))
        return exportCommand(rest);
    if (command == QLatin1String("import"))
        return importCommand(rest);
    if (command == QLatin1String("import-diary"))
        return importDiaryCommand(rest);
    if (command == QLatin1String("history"))
        return historyCommand(rest);
    if (command == QLatin1String("backup"))
        return backupCommand(rest);
    if (command == QLatin1String("restore"))
        return restoreCommand(rest);
    if (command == QLatin1String("encrypt"))
        return encryptCommand(rest);
    if (command == QLatin1String("decrypt"))
        return decryptCommand(rest);
    if (command == QLatin1String("verify"))
        return verifyCommand(rest);
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        std::fputs(kUsageText, stdout);
        return kDone;
    }
    printError(command.isEmpty() ? QStringLiteral("no command given") : QStringLiteral("unknown command '%1'").arg(command));
    std::fputs(kUsageText, stderr);
    return kUsage;
}

} // namespace tool
