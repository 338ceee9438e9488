#pragma once

#include "dataroot.h"
#include "vault/secretbytes.h"

#include <QString>

#include <optional>

// An encrypted diary is known by its sealed files as well as by its password
// file, so whoever can replace or remove pw.dat alone cannot turn the diary
// into a plain one that shows nothing and stores new pages unsealed.
namespace sealedmark {

// The first file under pages/, dates/, .drafts/ or history/ that begins as
// a sealed file does, named below the diary folder; of each file only its
// first bytes are read, and the look stops there.
std::optional<QString> sealedFile(const QString &rootPath);

// Whether a key opens the diary: one of its first few sealed files opens
// with it, each under the name it was sealed with.
enum class KeyProof { NothingSealed, Opens, OpensNone };
KeyProof proveKey(const QString &rootPath, const SecretBytes &key);

// When the diary holds a sealed file but its password file is missing, empty
// or a plain diary's, the message that says so and names the file. A key
// slot in pw.dat settles it without a look at any other file. unsealedPages
// are names of pages/ the caller has just read and found not to begin as a
// sealed file does (a search reads them all): the look passes over them.
// A look Remembered opens only what its record on this computer does not
// know (see LookLedger); a folder looked at once, Afresh, keeps no record.
enum class Look { Remembered, Afresh };
std::optional<QString> passwordFileLost(const DataRoot &root, const QStringList &unsealedPages = {},
                                        Look look = Look::Remembered);

} // namespace sealedmark
