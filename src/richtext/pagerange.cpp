#include "pagerange.h"

#include "pagecopy.h"
#include "twips.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace richtext {

namespace {

constexpr qreal kEdgeInset = 0.5;

struct LineSpan
{
    qreal top = 0;
    qreal bottom = 0;
    int end = 0;
};

// The lines from `from` on that fit in `height`, the first always.
LineSpan fittingLines(const QTextDocument &document, int from, qreal height)
{
    LineSpan span;
    bool first = true;
    span.end = textEnd(document);
    for (QTextBlock block = document.findBlock(from); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        const qreal blockTop = document.documentLayout()->blockBoundingRect(block).top();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const int lineEnd = block.position() + line.textStart() + line.textLength();
            if (first && lineEnd <= from && lineEnd < block.position() + block.length() - 1)
                continue;
            const qreal top = blockTop + line.y();
            const qreal bottom = top + line.height();
            if (first) {
                span.top = top;
                first = false;
            } else if (bottom - span.top > height) {
                span.end = block.position() + line.textStart();
                return span;
            }
            span.bottom = bottom;
        }
    }
    return span;
}

} // namespace

int textEnd(const QTextDocument &document)
{
    return document.characterCount() - 1;
}

int renderPageRange(const QTextDocument &document, QPainter &painter, const QRectF &twips, int from)
{
    if (from >= textEnd(document) && from > 0)
        return textEnd(document);
    const QPaintDevice *device = painter.device();
    const qreal sx = device->logicalDpiX() / qreal(kTwipsPerInch);
    const qreal sy = device->logicalDpiY() / qreal(kTwipsPerInch);
    const QRectF rect(twips.x() * sx, twips.y() * sy, twips.width() * sx, twips.height() * sy);

    const int start = std::max(from, 0);
    const PageCopy page = pageCopy(document, *painter.device(), rect.size(), start);
    const QTextDocument &copy = *page.document;
    const LineSpan span = fittingLines(copy, start - page.offset, rect.height());
    const QRectF clip(0, span.top, rect.width(), span.bottom - span.top);
    painter.save();
    painter.translate(rect.left(), rect.top() - span.top);
    painter.setClipRect(clip);
    QAbstractTextDocumentLayout::PaintContext context;
    // The layout draws every paragraph that touches its clip, and the ones
    // just before and after this page touch its edges: inset, they stay off
    // the page instead of being drawn hidden, where a PDF reader would find them.
    context.clip = clip.adjusted(0, kEdgeInset, 0, -kEdgeInset);
    context.palette.setColor(QPalette::Text, Qt::black);
    copy.documentLayout()->draw(&painter, context);
    painter.restore();
    return span.end + page.offset;
}

} // namespace richtext
