#include "dbusnotifications.h"
#include "toolcommands.h"
#include "toolsupport.h"

#include "diary/dataroot.h"
#include "reminder/reminderdue.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace tool {

namespace {

// The notification stays this long unless the desktop takes it away sooner;
// the command waits for its click no longer.
constexpr std::chrono::minutes kExpiry{10};

Notifications::Note todaysNote()
{
    return {.summary = QStringLiteral("Today has no page yet"),
            .body = QStringLiteral("Your diary is waiting for today's page."),
            .actionCaption = QStringLiteral("Open Quillnest"),
            .expiry = kExpiry};
}

// The launcher on the path opens the user's diary as a start from the desktop does.
void openQuillnest(const QString &rootPath)
{
    if (!QProcess::startDetached(QStringLiteral("quillnest"), {}, rootPath))
        printError(QStringLiteral("cannot start quillnest"));
}

} // namespace

int remindCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Shows a desktop notification when the daily reminder is on, its time has come and today has no page yet, "
        "once a day; clicking it opens Quillnest. The timer that Date > Daily Reminder... installs runs it. "
        "An encrypted diary is not opened: a page's file name is enough."));
    const QCommandLineOption root(QStringLiteral("root"), QStringLiteral("The diary's data folder (~/Diary unless given)."),
                                  QStringLiteral("DIR"), QDir::home().filePath(QStringLiteral("Diary")));
    parser.addOption(root);
    if (const auto stop = parseOrExit(parser, arguments, 0))
        return *stop;
    const DataRoot diary(QFileInfo(parser.value(root)).absoluteFilePath());
    if (!QFileInfo(diary.pagesDir()).isDir()) {
        printError(QStringLiteral("no pages folder in %1").arg(diary.path()));
        return kFailed;
    }
    const QString settings = reminder::settingsFile();
    const QDateTime now = QDateTime::currentDateTime();
    if (!reminder::due(reminder::read(settings), diary, now))
        return kDone;
    DbusNotifications notifications;
    return notifyAndWait(notifications, todaysNote(), kExpiry,
                         {.shown = [&] { reminder::markReminded(settings, now.date()); },
                          .clicked = [&] { openQuillnest(diary.path()); }});
}

} // namespace tool
