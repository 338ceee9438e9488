#pragma once

#include "import/entry.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>

#include <functional>
#include <optional>

// What the readers of the JSON exports share: reading a file within a bound,
// parsing it with the place of a fault, and reading its entries one by one.
namespace diaryimport::json {

// No diary's export of text comes near this; a larger file is refused before
// it is read, so a wrong file cannot take all the memory.
inline constexpr qint64 kLargestExport = qint64(256) << 20;

// Why a file larger than `largest` bytes is refused.
QString tooLarge(const QString &name, qint64 largest);

// The file's bytes, or nothing with the reason, named by `name`, in `why`.
std::optional<QByteArray> readBounded(const QString &path, const QString &name, qint64 largest, QString &why);

// The JSON object the bytes hold. A syntax fault is named by its line and
// column ("name: line 3, column 7: unterminated object").
std::optional<QJsonObject> parseObject(const QByteArray &bytes, const QString &name, QString &why);

// Both of the above, the file named as the user gave it.
std::optional<QJsonObject> loadObject(const QString &path, qint64 largest, QString &why);

// One entry made from its JSON value, or nothing with the fault in `fault`.
using EntryMaker = std::function<std::optional<Entry>(const QJsonValue &value, QString &fault)>;

// Every item of the "entries" list of the export's text made into an entry,
// or refused at the first fault, named by the file and the item's number
// counted from 1. Each item is parsed on its own, so the document is never
// in memory whole, and its entry is made again when its page is built.
Read readEntries(const QByteArray &bytes, const QString &name, const EntryMaker &make);

} // namespace diaryimport::json
