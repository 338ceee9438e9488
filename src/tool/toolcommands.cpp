#include "toolcommands.h"

#include "toolsupport.h"

#include <array>
#include <cstdio>

namespace tool {

namespace {

constexpr const char *kUsageText =
    "Usage: quillnest-tool COMMAND [options]\n"
    "\n"
    "Commands:\n"
    "  search        list the pages that hold a text, or a #tag\n"
    "  export        write the pages and notes as ordinary files, a range as Markdown or PDF\n"
    "  import        store a rich-text file as a day's page\n"
    "  import-diary  store the entries of another diary's export as pages\n"
    "  history       list or restore the earlier versions of a day's page\n"
    "  backup        write the whole diary into one zip archive\n"
    "  restore       make a new diary from such an archive\n"
    "  encrypt       encrypt a plain diary in place under a new password\n"
    "  decrypt       turn an encrypted diary back into a plain one\n"
    "  verify        name every page, note, draft and version that does not open\n"
    "  conflicts     list the copies a folder-sync tool made of pages changed on two computers\n"
    "  stats         print the diary's pages, words, streaks and busiest weekday\n"
    "  tags          list the #tags of the pages with their counts\n"
    "  remind        show the daily reminder when today has no page yet\n"
    "\n"
    "'quillnest-tool COMMAND --help' tells more.\n";

struct Command
{
    const char *name;
    int (*run)(const QStringList &arguments);
};

constexpr std::array kCommands{
    Command{"search", searchCommand},
    Command{"export", exportCommand},
    Command{"import", importCommand},
    Command{"import-diary", importDiaryCommand},
    Command{"history", historyCommand},
    Command{"backup", backupCommand},
    Command{"restore", restoreCommand},
    Command{"encrypt", encryptCommand},
    Command{"decrypt", decryptCommand},
    Command{"verify", verifyCommand},
    Command{"conflicts", conflictsCommand},
    Command{"stats", statsCommand},
    Command{"tags", tagsCommand},
    Command{"remind", remindCommand},
};

} // namespace

int run(const QStringList &arguments)
{
    const QString command = arguments.value(1);
    for (const Command &known : kCommands) {
        if (command == QLatin1String(known.name))
            return known.run(arguments.mid(1));
    }
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        std::fputs(kUsageText, stdout);
        return kDone;
    }
    printError(command.isEmpty() ? QStringLiteral("no command given") : QStringLiteral("unknown command '%1'").arg(command));
    std::fputs(kUsageText, stderr);
    return kUsage;
}

} // namespace tool
