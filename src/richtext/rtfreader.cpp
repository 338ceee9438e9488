#include "rtfreader.h"

#include "rtfparser.h"

namespace richtext {

bool readRtf(QByteArrayView rtf, QTextDocument &document)
{
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    QTextCursor batch(&document);
    batch.beginEditBlock();
    RtfParser parser(rtf, document);
    parser.run();
    batch.endEditBlock();
    if (parser.overflowed())
        document.clear();
    document.setUndoRedoEnabled(undo);
    return !parser.overflowed();
}

} // namespace richtext
