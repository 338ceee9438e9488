#pragma once

#include "printgeometry.h"

class QPrinter;

// What a printer's page setup says, in twips. Pixels come from the printer's
// own resolution and are converted at once.
namespace printing {

// The whole sheet in its current orientation.
QSize pageTwips(const QPrinter &printer);
QSize printableTwips(const QPrinter &printer);
// From the sheet's top-left corner to the first point the printer can reach.
QPoint offsetTwips(const QPrinter &printer);

PageFrame pageFrame(const QPrinter &printer, const QMargins &margins);

} // namespace printing
