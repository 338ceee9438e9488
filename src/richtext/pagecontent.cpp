#include "pagecontent.h"

#include "pageexport.h"
#include "rtflimits.h"
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

bool replaceWith(QByteArrayView bytes, QTextDocument &document)
{
    document.clear();
    if (bytes.startsWith("{\\rtf"))
        return readRtf(bytes, document);
    QString plain = codepage::decodeText(bytes);
    toLineFeeds(plain);
    if (plain.size() > limits::kPageCharacters)
        return false;
    QTextCursor(&document).insertText(plain);
    return true;
}

} // namespace

// Loading is no edit: an undo right after it must not empty the page.
bool loadBytes(QByteArrayView bytes, QTextDocument &document)
{
    const bool undoable = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    const bool loaded = replaceWith(bytes, document);
    document.setUndoRedoEnabled(undoable);
    return loaded;
}

QString tooMuchText()
{
    return QStringLiteral("more text than a page can hold (%1 characters)").arg(limits::kPageCharacters);
}

bool hasContent(const QTextDocument &document)
{
    return document.characterCount() > document.blockCount();
}

QString firstLine(QByteArrayView bytes)
{
    QTextDocument page;
    (void)loadBytes(bytes, page);
    return plainText(page).section(QLatin1Char('\n'), 0, 0).simplified();
}

void forget(QTextDocument &document)
{
    document.clear();
    document.clearUndoRedoStacks();
}

} // namespace richtext
