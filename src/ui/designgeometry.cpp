#include "designgeometry.h"

#include <QWidget>

#include <cmath>

namespace {
int pixels(int twips)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}
} // namespace

QRect fromTwips(int left, int top, int width, int height)
{
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}

void placeInTwips(QWidget *widget, int left, int top, int width, int height)
{
    widget->setGeometry(fromTwips(left, top, width, height));
}
