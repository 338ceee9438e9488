#pragma once

#include "entryspans.h"

#include "import/entry.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// What the readers of the JSON exports share: reading a file within a bound,
// parsing it with the place of a fault, and reading its entries one by one.
namespace diaryimport::json {

// No diary's export of text comes near these; a larger file is refused
// before it is read. The export is read an entry at a time, so what it costs
// is the place of each entry, about 180 bytes: half a million of them, beside
// a zipped Day One journal of 80 MiB held whole, still open within 256 MB.
inline constexpr qint64 kLargestExport = qint64(256) << 20;
inline constexpr std::size_t kMostEntries = 500000;
// What is parsed whole when it cannot be read an entry at a time, to name
// the place of its fault: a parsed document takes several times its text.
inline constexpr qint64 kLargestWholeParse = qint64(16) << 20;

// The file's bytes, or nothing with the reason, named by `name`, in `why`.
std::optional<QByteArray> readBounded(const QString &path, const QString &name, qint64 largest, QString &why);

// One entry made from its JSON value, or nothing with the fault in `fault`.
// A keyed entry's value is an object of its one member.
using EntryMaker = std::function<std::optional<Entry>(const QJsonValue &value, QString &fault)>;

// Every item of the "entries" member of the export's text made into an
// entry, or refused at the first fault, named by the file and the item's
// number counted from 1, or its key. Each item is parsed on its own, so the
// document is never in memory whole, and its entry is made again from the
// device when its page is built. A syntax fault is named by its line and
// column ("name: line 3, column 7: unterminated object").
Read readEntries(std::unique_ptr<QIODevice> device, const QString &name, Shape shape, const EntryMaker &make);

// The same of the export file at `path`, named by its file name; refused by
// its size before it is read.
Read readExportFile(const QString &path, Shape shape, const EntryMaker &make);

} // namespace diaryimport::json
