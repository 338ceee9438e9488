#include "pagecontent.h"

#include "pageexport.h"
#include "rtfreader.h"

#include "diary/codepage.h"

#include <QTextCursor>
#include <QTextDocument>

namespace richtext {

namespace {

// CR LF and a lone CR become LF in one pass: QString::replace moves the rest
// of the text once for every thousand matches, which made a long note's
// load grow with the square of its size.
void toLineFeeds(QString &text)
{
    QChar *at = text.data();
    const qsizetype size = text.size();
    qsizetype kept = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (at[i] != u'\r') {
            at[kept++] = at[i];
            continue;
        }
        at[kept++] = u'\n';
        if (i + 1 < size && at[i + 1] == u'\n')
            ++i;
    }
    text.truncate(kept);
}

void replaceWith(QByteArrayView bytes, QTextDocument &document)
{
    document.clear();
    if (bytes.startsWith("{\\rtf")) {
        readRtf(bytes, document);
        return;
    }
    QString plain = codepage::decodeText(bytes);
    toLineFeeds(plain);
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

void forget(QTextDocument &document)
{
    document.clear();
    document.clearUndoRedoStacks();
}

} // namespace richtext
