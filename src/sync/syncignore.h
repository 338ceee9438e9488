#pragma once

#include <QByteArray>
#include <QString>

// What Syncthing must leave on each computer: drafts, the one-window lock and
// a conversion's or a save's files in the making belong to the computer that
// wrote them, and a draft offered on another computer would bring back words
// the user already dealt with there.
namespace syncignore {

QByteArray patterns();

// Writes the diary folder's .stignore when Syncthing shares the folder (its
// ".stfolder" marker is there) and the folder has none; a diary no sync tool
// shares keeps exactly its own files, and the user's own rules are never
// replaced. True when the file was written.
bool writeIfShared(const QString &diaryFolder);

} // namespace syncignore
