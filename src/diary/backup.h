#pragma once

#include "dataroot.h"
#include "outcome.h"

#include <QString>
#include <QStringList>

// A diary in one zip archive: pages/, dates/ and pw.dat, and history/ when
// asked for, each file under its name relative to the data root.
namespace backup {

// The archive is read back and compared with the diary before it takes
// zipPath, so a file there is either a whole, verified backup or left as it
// was. The window may save meanwhile: every save is an atomic rename.
// What is no diary file, a sync tool's copy that is a FIFO, a link or a
// folder for one, is left out and named in leftOut.
Outcome write(const DataRoot &root, const QString &zipPath, bool withHistory, QStringList *leftOut = nullptr);

// Only into a new or empty folder, so no diary is ever mixed with another.
// A damaged archive, or one that is no diary's, leaves no file behind, and a
// restore killed part way leaves no diary at newRoot: the next restore there
// clears what the killed one left and starts afresh.
Outcome restore(const QString &zipPath, const QString &newRoot);

} // namespace backup
