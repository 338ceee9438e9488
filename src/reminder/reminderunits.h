#pragma once

#include "diary/outcome.h"

#include <QStringList>
#include <QTime>

#include <functional>

// The systemd user timer that starts `quillnest-tool remind` each day at the
// chosen time, so the reminder comes while the window is closed. Nothing of
// it exists while the reminder is off.
namespace reminder {

// Runs `systemctl --user` with the arguments; tests hand in their own.
using Systemctl = std::function<Outcome(const QStringList &arguments)>;
Outcome runSystemctl(const QStringList &arguments);

inline constexpr char kTimerName[] = "quillnest-reminder.timer";
inline constexpr char kServiceName[] = "quillnest-reminder.service";

// ~/.config/systemd/user, or where the configuration folder has been moved.
QString unitFolder();
// One argument as systemd's ExecStart reads it back: quoted, its specifiers and variables escaped.
QString execArgument(const QString &argument);
QString serviceUnit(const QString &toolPath, const QString &rootPath);
QString timerUnit(QTime time);

// Writes both units, then reloads and starts the timer.
Outcome switchOn(const Systemctl &systemctl, const QString &toolPath, const QString &rootPath, QTime time);
// Stops the timer, then removes both units; they go even when systemctl fails.
Outcome switchOff(const Systemctl &systemctl);

} // namespace reminder
