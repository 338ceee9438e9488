#pragma once

#include <QByteArrayView>
#include <QString>

namespace richtext {

// The text readRtf() followed by plainText() gives for the same bytes, read
// in one pass without building a document: for export and search, where a
// page's formatting and pictures are not wanted.
QString visibleText(QByteArrayView rtf);

} // namespace richtext
