#pragma once

#include "dataroot.h"
#include "history.h"
#include "outcome.h"

#include <QByteArray>
#include <QString>
#include <optional>

// One plain Windows-1252 text file per month and day under the dates folder,
// CR LF line ends, followed by one CR LF.
namespace notestore {

// A note is a few lines typed into a small editor and stored as plain text:
// a mebibyte is hundreds of pages of it, yet still loads at once. A larger
// file is not a note this program wrote, so it is neither read nor saved.
inline constexpr qsizetype kLargestNoteFile = qsizetype(1) << 20;

// The file's bytes without the one CR LF that a save appends, so saving and
// loading again never grows a note. Nothing when the file cannot be read
// or is larger than kLargestNoteFile. ancestryId, when given, receives the
// stored bytes' id.
std::optional<QByteArray> load(const DataRoot &root, daykeys::MonthDay monthDay, QString *ancestryId = nullptr);
// noteFile may be a draft or an earlier version of the note file storedAs.
std::optional<QByteArray> loadFile(const DataRoot &root, const QString &noteFile, const QString &storedAs = {},
                                   QString *ancestryId = nullptr);

// The stored bytes of a note's plain text.
QByteArray encodeNote(QStringView text);

// The text of a note file's bytes: UTF-8, UTF-16 or UTF-32 after a
// byte-order mark, else Windows-1252.
QString decodeNote(QByteArrayView bytes);

// Saving and removing keep the note they replace in the history first.
Outcome save(const DataRoot &root, daykeys::MonthDay monthDay, QStringView text, history::Unkept unkept = history::Unkept::Refuse);
bool exists(const DataRoot &root, daykeys::MonthDay monthDay);
Outcome remove(const DataRoot &root, daykeys::MonthDay monthDay, history::Unkept unkept = history::Unkept::Refuse);

} // namespace notestore
