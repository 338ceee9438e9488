#pragma once

#include "dataroot.h"
#include "history.h"
#include "outcome.h"

#include <QByteArray>
#include <optional>

// One scrambled file per day under the pages folder: line k of the file is
// line k of the page's RTF (with CR LF appended), every byte shifted up by
// the scramble offset, each line followed by CR LF.
namespace pagestore {

// A page's RTF is stored only up to this size. A stored line gains at most
// its CR LF, so such a page's file is at most kLargestPageFile, and a file
// larger than that, which no save made, is not opened: it cannot hang the
// window or take its memory.
inline constexpr qsizetype kLargestPageText = qsizetype(40) << 20;
inline constexpr qsizetype kLargestPageFile = 2 * kLargestPageText + 2;

// The stored bytes for a page's RTF, or nothing when a byte cannot be stored.
std::optional<QByteArray> encodePage(QByteArrayView rtf);

// The RTF lines of stored bytes, each followed by CR LF.
QByteArray decodePage(QByteArrayView stored);

// A page with a byte that cannot be stored, or larger than kLargestPageText,
// fails before any file is touched. Saving and removing keep the page they
// replace in the history first, as history::keep says. written, when given,
// receives the ancestry id of the bytes stored.
Outcome save(const DataRoot &root, QDate day, QByteArrayView rtf, history::Unkept unkept = history::Unkept::Refuse,
             QString *written = nullptr);

// The page's RTF, or nothing when the file cannot be read or is larger than
// kLargestPageFile. pageFile may be a draft or an earlier version of the page
// file storedAs. ancestryId, when given, receives the stored bytes' id.
std::optional<QByteArray> loadFile(const DataRoot &root, const QString &pageFile, const QString &storedAs = {},
                                   QString *ancestryId = nullptr);
std::optional<QByteArray> load(const DataRoot &root, QDate day);

bool exists(const DataRoot &root, QDate day);
Outcome remove(const DataRoot &root, QDate day, history::Unkept unkept = history::Unkept::Refuse);

} // namespace pagestore
