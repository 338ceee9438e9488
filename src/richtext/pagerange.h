#pragma once

#include <QRectF>

class QPainter;
class QTextDocument;

namespace richtext {

// One page of a document on a printer-like device. The document is laid
// out at the width of `twips` (a rectangle on the painter's device, in
// twips) and the lines from position `from` that fit in its height are drawn
// there, pictures larger than the rectangle scaled down to fit it. Returns
// the first position that did not fit, or the document's end (textEnd) when
// everything did. At least one line is drawn, so a page loop always advances.
int renderPageRange(const QTextDocument &document, QPainter &painter, const QRectF &twips, int from);

// The position after the last character: where a page loop stops.
int textEnd(const QTextDocument &document);

} // namespace richtext
