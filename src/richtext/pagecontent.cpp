#include "pagecontent.h"

#include "pageexport.h"
#include "rtfreader.h"

#include "diary/codepage.h"

#include <QTextCursor>
#include <QTextDocument>

namespace richtext {

namespace {

void replaceWith(QByteArrayView bytes, QTextDocument &document)
{
    document.clear();
    if (bytes.startsWith("{\\rtf")) {
        readRtf(bytes, document);
        return;
    }
    QString plain = codepage::decodeText(bytes);
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QTextCursor(&document).insertText(plain);
}

} // namespace

// Loading is no edit: an undo right after it must not empty the page.
void loadBytes(QByteArrayView bytes, QTextDocument &document)
{
    const bool undoable = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    replaceWith(bytes, document);
    document.setUndoRedoEnabled(undoable);
}

bool hasContent(const QTextDocument &document)
{
    return document.characterCount() > document.blockCount();
}

QString firstLine(QByteArrayView bytes)
{
    QTextDocument page;
    loadBytes(bytes, page);
    return plainText(page).section(QLatin1Char('\n'), 0, 0).simplified();
}

} // namespace richtext
