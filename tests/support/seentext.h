#pragma once

#include <QTextDocument>
#include <QTextDocumentFragment>

// What the user reads of a text Qt shows in `format`: where Qt takes the text
// as rich, its markup is drawn rather than read.
inline QString seenText(const QString &text, Qt::TextFormat format = Qt::AutoText)
{
    const bool rich = format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(text));
    return rich ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
}
