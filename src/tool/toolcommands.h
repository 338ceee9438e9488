#pragma once

#include <QStringList>

// The command-line companion's commands. Each takes its own arguments (the
// command name first) and returns the process exit code: 0 done, 1 failed,
// 2 the arguments were wrong.
namespace tool {

int run(const QStringList &arguments);

int searchCommand(const QStringList &arguments);
int exportCommand(const QStringList &arguments);
int importCommand(const QStringList &arguments);
int importDiaryCommand(const QStringList &arguments);
int historyCommand(const QStringList &arguments);
int backupCommand(const QStringList &arguments);
int restoreCommand(const QStringList &arguments);
int encryptCommand(const QStringList &arguments);
int decryptCommand(const QStringList &arguments);
int verifyCommand(const QStringList &arguments);
int conflictsCommand(const QStringList &arguments);
int remindCommand(const QStringList &arguments);
int statsCommand(const QStringList &arguments);
int tagsCommand(const QStringList &arguments);

} // namespace tool
