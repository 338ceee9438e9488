#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>

// The names folder-sync tools give the losing side of a file changed on two
// computers before they met: Syncthing's "2026-12-04.sync-conflict-20261204-
// 183012-ABCDEFG.dat", Nextcloud's and ownCloud's "2026-12-04 (conflicted copy
// 2026-12-04 183012).dat", Dropbox's "2026-12-04 (Anna's conflicted copy
// 2026-12-04).dat". Only the sync tool's own words are read: a name the user
// chose that merely looks alike stays a name.
namespace conflictnames {

enum class Tool { Syncthing, Nextcloud, Dropbox };

struct Copy
{
    QString original;   // the file's own name: "2026-12-04.dat"
    Tool tool = Tool::Syncthing;
    QString source;     // the device, user or account the name tells, if any; Syncthing's is the winning version's
    QDate date;
    std::optional<QTime> time; // Dropbox names the day alone
};

std::optional<Copy> recognise(QStringView name);
QString toolName(Tool tool);
// What the name tells of the copy, for a person: "Syncthing, 2026-12-04 18:30:12".
QString describe(const Copy &copy);

} // namespace conflictnames
