#pragma once

#include <QByteArrayView>

class QTextDocument;

namespace richtext {

// Appends the page that RTF bytes describe to the document. Any input gives
// the best page it can: never a crash, a hang or an unbounded allocation.
void readRtf(QByteArrayView rtf, QTextDocument &document);

} // namespace richtext
