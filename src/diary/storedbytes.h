#pragma once

#include "dataroot.h"
#include "outcome.h"
#include "pagestore.h"
#include "vault/vault.h"
#include "safewrite.h"

#include <QByteArray>
#include <QString>

#include <optional>

// A data file's bytes as a plain diary keeps them. In an encrypted diary the
// file on disk is those bytes sealed under the name of the page or note file
// they belong to (storedAs), so a draft or an earlier version opens as its
// page does, wherever it lies.
namespace storedbytes {

// No file of a diary, sealed or not, is larger than a sealed page's.
inline constexpr qint64 kLargestFile = pagestore::kLargestPageFile + Vault::kOverhead;

// Nothing when the file cannot be read, is larger than largest plain bytes
// can be stored in, or does not open with the diary's key under storedAs.
// ancestryId, when given, receives the stored bytes' id in the history's lineage.
std::optional<QByteArray> read(const DataRoot &root, const QString &file, qint64 largest, const QString &storedAs = {},
                               QString *ancestryId = nullptr);

// What goes on disk for the plain bytes; nothing when the diary is locked.
std::optional<QByteArray> forDisk(const DataRoot &root, QByteArrayView plain, const QString &storedAs);
// The failure a write into a locked diary gives.
Outcome locked();

// Writes them atomically, as writeFileAtomically does.
Outcome write(const DataRoot &root, const QString &file, QByteArrayView plain, const QString &storedAs = {},
              const BeforeReplacing &beforeReplacing = {});

} // namespace storedbytes
