#include "printermeasures.h"

#include "richtext/twips.h"

#include <QPrinter>

#include <cmath>

namespace printing {

namespace {

QRect printablePixels(const QPrinter &printer)
{
    return printer.pageLayout().paintRectPixels(printer.resolution());
}

} // namespace

QSize pageTwips(const QPrinter &printer)
{
    const QSizeF points = printer.pageLayout().fullRect(QPageLayout::Point).size();
    return QSize(static_cast<int>(std::lround(points.width() * kTwipsPerPoint)),
                 static_cast<int>(std::lround(points.height() * kTwipsPerPoint)));
}

QSize printableTwips(const QPrinter &printer)
{
    const QSize pixels = printablePixels(printer).size();
    return QSize(pixelsToTwips(pixels.width(), printer.resolution()), pixelsToTwips(pixels.height(), printer.resolution()));
}

QPoint offsetTwips(const QPrinter &printer)
{
    const QPoint pixels = printablePixels(printer).topLeft();
    return QPoint(pixelsToTwips(pixels.x(), printer.resolution()), pixelsToTwips(pixels.y(), printer.resolution()));
}

PageFrame pageFrame(const QPrinter &printer, const QMargins &margins)
{
    return pageFrame(pageTwips(printer), printableTwips(printer), offsetTwips(printer), margins);
}

} // namespace printing
