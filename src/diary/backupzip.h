#pragma once

#include "pagestore.h"

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <memory>

#include <zip.h>

// What the backup's writer and reader share of libzip.
namespace backup::zip {

// No save makes a larger file. A backup refuses one rather than write an
// archive that no restore takes, and a restore refuses a larger entry, so
// an archive cannot take all the memory.
inline constexpr qint64 kLargestFile = pagestore::kLargestPageFile;

struct Discard
{
    void operator()(zip_t *archive) const { zip_discard(archive); }
};
// Discarded unless closed: a failed or abandoned write leaves no archive.
using Archive = std::unique_ptr<zip_t, Discard>;

// The archive at path, or nothing with the reason in `why`.
Archive open(const QString &path, int flags, QString &why);

// Feeds every byte of entry `index` to `chunk` in order, reading to the end,
// where libzip checks the entry's CRC. False when the entry cannot be read
// whole or `chunk` returns false.
bool readEntry(zip_t *archive, zip_uint64_t index, const std::function<bool(QByteArrayView)> &chunk);

// The entry's name byte for byte: UTF-8, or the bytes of a file's name that
// was not, as the writer stores them.
QByteArray entryName(zip_t *archive, zip_uint64_t index);

} // namespace backup::zip
