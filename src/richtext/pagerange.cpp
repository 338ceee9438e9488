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

// A sheet seldom holds more characters than this; when it does, the copy
// it is drawn from is made again twice as long.
constexpr int kFirstReach = 4096;

// Where the lines of a copy cut short stop being the page's own: the last
// lines of its last paragraph may wrap otherwise without what was cut, and
// so may the line before them, for its last word.
int trustedEnd(const QTextDocument &copy)
{
    const QTextBlock last = copy.lastBlock();
    const QTextLayout *layout = last.layout();
    const int lines = layout ? layout->lineCount() : 0;
    return lines >= 3 ? last.position() + layout->lineAt(lines - 3).textStart() : last.position();
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
    PageCopy page;
    LineSpan span;
    for (int reach = kFirstReach;; reach *= 2) {
        const bool whole = start + reach >= textEnd(document);
        page = pageCopy(document, *painter.device(), rect.size(), start, whole ? textEnd(document) : start + reach);
        span = fittingLines(*page.document, start - page.offset, rect.height());
        if (whole || span.end < trustedEnd(*page.document))
            break;
    }
    const QTextDocument &copy = *page.document;
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
