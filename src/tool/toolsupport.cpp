#include "toolsupport.h"

#include "diary/daykeys.h"

#include <QCoreApplication>

#include <cstdio>

namespace tool {

void printError(const QString &message)
{
    std::fprintf(stderr, "quillnest-tool: %s\n", message.toLocal8Bit().constData());
}

void printLine(const QString &line)
{
    std::fprintf(stdout, "%s\n", line.toLocal8Bit().constData());
}

std::optional<QString> requiredValue(const QCommandLineParser &parser, const QCommandLineOption &option)
{
    const QString value = parser.value(option);
    if (value.isEmpty()) {
        printError(QStringLiteral("--%1 %2 is required").arg(option.names().constFirst(), option.valueName()));
        return std::nullopt;
    }
    return value;
}

int exitCode(const Outcome &outcome)
{
    if (outcome)
        return kDone;
    printError(outcome.error());
    return kFailed;
}

std::optional<int> parseOrExit(QCommandLineParser &parser, const QStringList &arguments, int positional)
{
    const QCommandLineOption help = parser.addHelpOption();
    if (!parser.parse(arguments)) {
        printError(parser.errorText());
        return kUsage;
    }
    if (parser.isSet(help)) {
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
        return kDone;
    }
    if (parser.positionalArguments().size() != positional) {
        printError(QStringLiteral("expected %1 argument(s); see --help").arg(positional));
        return kUsage;
    }
    return std::nullopt;
}

QCommandLineOption dayOption()
{
    return {QStringLiteral("day"), QStringLiteral("The page's day."), QStringLiteral("yyyy-mm-dd")};
}

std::optional<QDate> dayOptionValue(const QCommandLineParser &parser, const QCommandLineOption &day)
{
    const QString dayKey = parser.value(day);
    if (const auto date = daykeys::dateFromDayKey(dayKey))
        return date;
    printError(QStringLiteral("'%1' is not a day; write it as yyyy-mm-dd").arg(dayKey));
    return std::nullopt;
}

// Another tool's command is usually over in moments, so it is waited for a little.
bool claimDiary(DiaryLock &lock)
{
    const QString program = QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::arguments().value(1);
    const DiaryLock::State state = lock.acquire(program, std::chrono::seconds(5));
    if (state == DiaryLock::State::Held)
        return true;
    printError(state == DiaryLock::State::HeldElsewhere ? lock.heldElsewhereMessage() : lock.unavailableMessage());
    return false;
}

} // namespace tool
