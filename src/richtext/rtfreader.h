#pragma once

#include <QByteArrayView>

class QTextDocument;

namespace richtext {

// Appends the page that RTF bytes describe to the document. Any input gives
// the best page it can: never a crash, a hang or an unbounded allocation.
// A page of more than limits::kPageCharacters leaves the document empty and
// gives false: it would take the window's time and memory.
[[nodiscard]] bool readRtf(QByteArrayView rtf, QTextDocument &document);

} // namespace richtext
