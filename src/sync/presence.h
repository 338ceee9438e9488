#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// Which computers have the diary open. The one-window lock only reaches the
// windows of one computer; a diary folder a sync tool shares can be open on
// another at the same time, and each computer says so in a small file of its
// own under the diary folder, .quillnest/open/<computer>, refreshed while its
// window is open and removed when it closes. A file not refreshed for
// kFreshFor is a window that ended without removing it.
namespace presence {

inline constexpr int kRefreshMinutes = 5;
inline constexpr qint64 kFreshFor = 3 * kRefreshMinutes * 60; // seconds

struct Computer
{
    QString name;
    QDateTime since;
};

// This computer's file name: its host name, and a part of its machine id so
// that two computers with one name do not share a file.
QString thisComputer();

QList<Computer> others(const QString &diaryFolder, const QDateTime &now);
// Writes or refreshes this computer's file; another name lets one machine stand for two computers.
bool announce(const QString &diaryFolder, const QDateTime &since, const QString &computer = thisComputer());
// Removes it, and the folders that held only it.
void withdraw(const QString &diaryFolder, const QString &computer = thisComputer());

} // namespace presence
