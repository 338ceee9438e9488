#include "rtfreader.h"

#include "rtfparser.h"

namespace richtext {

void readRtf(QByteArrayView rtf, QTextDocument &document)
{
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    QTextCursor batch(&document);
    batch.beginEditBlock();
    RtfParser(rtf, document).run();
    batch.endEditBlock();
    document.setUndoRedoEnabled(undo);
}

} // namespace richtext
