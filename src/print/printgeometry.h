#pragma once

#include "richtext/twips.h"

#include <QMargins>
#include <QPoint>
#include <QRectF>
#include <QSize>

// The printer arithmetic, all in twips (1/1440 inch).
namespace printing {

// The room a page leaves for text inside its margins.
struct PrinterLayout
{
    int lineWidth = 0;
    int pageHeight = 0;
};

struct TwipsRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    QRectF toRectF() const { return QRectF(left, top, right - left, bottom - top); }
    friend bool operator==(const TwipsRect &, const TwipsRect &) = default;
};

// Where one printed page goes. Both rectangles are measured from the printer's
// origin, its first printable point, not from the paper's edge.
struct PageFrame
{
    TwipsRect drawing;
    TwipsRect page;
};

PrinterLayout printerLayout(QSize pageTwips, const QMargins &margins);

// The margins count from the paper's edge, so the printer's offset from that
// edge to its first printable point comes off them.
PageFrame pageFrame(QSize pageTwips, QSize printableTwips, QPoint offsetTwips, const QMargins &margins);

// Device pixels at `dotsPerInch` to twips, to the nearest whole twip.
int pixelsToTwips(qreal pixels, int dotsPerInch);

} // namespace printing
