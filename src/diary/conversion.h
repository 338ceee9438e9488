#pragma once

#include "dataroot.h"
#include "outcome.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class Vault;

// Turning a plain diary into an encrypted one and back, in the same folder.
// Every converted file is first written beside the diary in .converting/
// and read back; only then is a mark written that makes the conversion
// count, and the folders are swapped in. A program killed before the mark
// leaves the diary as it was; killed after it, the next start finishes the
// swap. Either way no start ever sees a diary half of each form.
namespace conversion {

// Called with the number of files converted so far, and how many there are.
using Progress = std::function<void(int done, int total)>;

// plain has no vault; vault holds the new master key and keySlot its pw.dat line.
Outcome encrypt(const DataRoot &plain, const Vault &vault, const QByteArray &keySlot, const Progress &progress = {});
// The folder, below the root, where decrypt and rekey leave a file that does
// not open with the diary's key, as it was: another diary's copy or a damaged
// file is no reason to refuse the change, and is no page of the result.
inline const QString kSetAside = QStringLiteral("set-aside");

// encrypted carries its vault; passwordFile is the plain pw.dat to leave.
// setAside, if given, gets the files left in kSetAside, named below the root.
Outcome decrypt(const DataRoot &encrypted, const QByteArray &passwordFile, const Progress &progress = {},
                QStringList *setAside = nullptr);
// Reseals every file of encrypted, opened with its vault, under renewed's
// master key, whose pw.dat line is keySlot: an old pw.dat opens none of them.
Outcome rekey(const DataRoot &encrypted, const Vault &renewed, const QByteArray &keySlot, const Progress &progress = {},
              QStringList *setAside = nullptr);

// Before anything reads the diary: completes a conversion that was marked
// done, or drops one that was not.
void finishInterrupted(const QString &rootPath);
// True when a conversion was cut off, or another program is converting.
bool interrupted(const QString &rootPath);

// The page or note file a data file belongs to, below the root: a draft, an
// earlier version or a sync tool's conflict copy is sealed under its page's
// name.
QString storedNameOf(const QString &relativeName);

} // namespace conversion
