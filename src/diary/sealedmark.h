#pragma once

#include "dataroot.h"

#include <QString>

// An encrypted diary is known by its sealed files as well as by its password
// file, so whoever can replace or remove pw.dat alone cannot turn the diary
// into a plain one that shows nothing and stores new pages unsealed.
namespace sealedmark {

inline const QString kPasswordFileLost = QStringLiteral(
    "This diary is encrypted, but its password file is missing or is not an encrypted diary's. Nothing has been changed.");

// True at the first file under pages/, dates/, history/ or .drafts/ that
// begins as a sealed file does; of each file only its first bytes are read.
bool holdsSealedFile(const QString &rootPath);

// True when the diary holds a sealed file but its password file is missing,
// empty or a plain diary's. A key slot in pw.dat settles it without a look
// at any other file.
bool passwordFileLost(const DataRoot &root);

} // namespace sealedmark
