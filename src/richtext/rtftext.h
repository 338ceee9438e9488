#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace richtext {

// The text readRtf() followed by plainText() gives for the same bytes, read
// in one pass without building a document: for export and search, where a
// page's formatting and pictures are not wanted.
QString visibleText(QByteArrayView rtf);

// The same text of a page the reader takes, or nothing for one that holds
// more than limits::kPageCharacters, which it refuses; the text read is
// never more than that.
std::optional<QString> pageText(QByteArrayView rtf);

} // namespace richtext
