#include "toolsupport.h"

#include "diary/conversion.h"
#include "diary/daykeys.h"
#include "diary/sealedmark.h"

#include <QCoreApplication>
#include <QFileInfo>

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

QCommandLineOption rootOption()
{
    return QCommandLineOption(QStringLiteral("root"), QStringLiteral("The diary's data folder."), QStringLiteral("DIR"));
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

namespace {

// A conversion cut off by a kill is finished or dropped before anything reads
// the diary, but never under a window that is converting it right now.
bool settleConversion(const DataRoot &root)
{
    if (!conversion::interrupted(root.path()))
        return true;
    DiaryLock lock(root);
    if (!claimDiary(lock))
        return false;
    conversion::finishInterrupted(root.path());
    return true;
}

// Qt reads the command line as UTF-8 and turns bytes that are not into
// U+FFFD, so a folder named in another encoding cannot be reached by its name.
QString unreadableName(const QString &path)
{
    return QStringLiteral("%1: the folder's name is not UTF-8, which this tool cannot open; rename it or name it through a "
                          "link whose name is UTF-8").arg(path);
}

} // namespace

std::optional<DataRoot> dataRootOption(const QCommandLineParser &parser)
{
    const QString path = parser.value(QStringLiteral("root"));
    if (path.isEmpty()) {
        printError(QStringLiteral("--root DIR is required"));
        return std::nullopt;
    }
    if (!QFileInfo(path).isDir()) {
        printError(path.contains(QChar::ReplacementCharacter) ? unreadableName(path) : QStringLiteral("no data folder at %1").arg(path));
        return std::nullopt;
    }
    // Absolute, as the window's is: names relative to the root are taken from it.
    DataRoot root(QFileInfo(path).absoluteFilePath());
    if (!settleConversion(root))
        return std::nullopt;
    if (!QFileInfo(root.pagesDir()).isDir()) {
        printError(QStringLiteral("no pages folder in %1").arg(path));
        return std::nullopt;
    }
    if (const auto lost = sealedmark::passwordFileLost(root)) {
        printError(*lost);
        return std::nullopt;
    }
    return root;
}

int dataRootFailure(const QCommandLineParser &parser)
{
    return parser.value(QStringLiteral("root")).isEmpty() ? kUsage : kFailed;
}

QCommandLineOption dayOption()
{
    return {QStringLiteral("day"), QStringLiteral("The page's day."), QStringLiteral("yyyy-mm-dd")};
}

std::optional<QString> dayKeyOption(const QCommandLineParser &parser, const QCommandLineOption &day)
{
    const QString dayKey = parser.value(day);
    if (daykeys::dateFromDayKey(dayKey))
        return dayKey;
    printError(QStringLiteral("'%1' is not a day; write it as yyyy-mm-dd").arg(dayKey));
    return std::nullopt;
}

// Another tool's command is usually over in moments, so it is waited for a little.
bool claimDiary(DiaryLock &lock)
{
    const QString program = QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::arguments().value(1);
    if (lock.acquire(program, std::chrono::seconds(5)) != DiaryLock::State::HeldElsewhere)
        return true;
    printError(lock.heldElsewhereMessage());
    return false;
}

} // namespace tool
