#pragma once

#include <QByteArrayView>
#include <QString>

class QTextDocument;

namespace richtext {

// Replaces the document with RTF when the bytes start with "{\rtf", otherwise
// with plain text in Windows-1252, or in the Unicode form its byte-order mark names.
// False, with the document empty, for a page too large to show (see readRtf).
[[nodiscard]] bool loadBytes(QByteArrayView bytes, QTextDocument &document);

// "more text than a page can hold (N characters)": why loadBytes refused, for a message.
QString tooMuchText();

// The first line of the page's text, its spaces folded: what a list of pages shows.
QString firstLine(QByteArrayView bytes);

// Characters or a picture: what a save counts as content.
bool hasContent(const QTextDocument &document);

// Emptied, its undo steps too, so nothing of its text stays reachable.
void forget(QTextDocument &document);

} // namespace richtext
