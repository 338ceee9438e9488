#pragma once

#include <QByteArrayView>

class QTextDocument;

namespace richtext {

// Replaces the document with RTF when the bytes start with "{\rtf", otherwise
// with plain text in Windows-1252, or in the Unicode form its byte-order mark names.
void loadBytes(QByteArrayView bytes, QTextDocument &document);

// Characters or a picture: what a save counts as content.
bool hasContent(const QTextDocument &document);

} // namespace richtext
