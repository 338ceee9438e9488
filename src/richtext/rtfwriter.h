#pragma once

#include <QByteArray>

class QTextDocument;

namespace richtext {

// The document as the page editor stores it: 7-bit RTF that a Windows
// rich-edit control, LibreOffice and unrtf read, one line per paragraph,
// pictures with their own PNG or JPEG bytes.
QByteArray writeRtf(const QTextDocument &document);

} // namespace richtext
