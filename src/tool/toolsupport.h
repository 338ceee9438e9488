#pragma once

#include "diary/dataroot.h"
#include "diary/diarylock.h"
#include "diary/outcome.h"

#include <QCommandLineParser>
#include <QDate>
#include <QString>
#include <optional>

namespace tool {

inline constexpr int kDone = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;

void printError(const QString &message);
void printLine(const QString &line);

// Parses a command's arguments; prints the help or the parse error itself.
// Returns an exit code when the command should stop here.
std::optional<int> parseOrExit(QCommandLineParser &parser, const QStringList &arguments, int positional);

// The option's value, or nothing after saying it is required (a wrong argument).
std::optional<QString> requiredValue(const QCommandLineParser &parser, const QCommandLineOption &option);
// kDone, or kFailed after printing why.
int exitCode(const Outcome &outcome);

QCommandLineOption dayOption();
// The day key of the option, or nothing after saying why (a wrong argument).
std::optional<QDate> dayOptionValue(const QCommandLineParser &parser, const QCommandLineOption &day);
// False, after saying who holds it, while another program has the diary open
// (another tool is waited for a few seconds first); otherwise the
// lock stays held until it goes, so no window opens the diary meanwhile.
bool claimDiary(DiaryLock &lock);

} // namespace tool
