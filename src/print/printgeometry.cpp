#include "printgeometry.h"

#include <cmath>

namespace printing {

PrinterLayout printerLayout(QSize pageTwips, const QMargins &margins)
{
    return {pageTwips.width() - margins.right() - margins.left(), pageTwips.height() - margins.bottom() - margins.top()};
}

PageFrame pageFrame(QSize pageTwips, QSize printableTwips, QPoint offsetTwips, const QMargins &margins)
{
    const TwipsRect drawing{margins.left() - offsetTwips.x(), margins.top() - offsetTwips.y(),
                            pageTwips.width() - margins.right() - offsetTwips.x(),
                            pageTwips.height() - margins.bottom() - offsetTwips.y()};
    return {drawing, {0, 0, printableTwips.width(), printableTwips.height()}};
}

int pixelsToTwips(qreal pixels, int dotsPerInch)
{
    return static_cast<int>(std::lround(pixels * kTwipsPerInch / dotsPerInch));
}

} // namespace printing
