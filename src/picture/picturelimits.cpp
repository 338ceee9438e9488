#include "picturelimits.h"

namespace picture {

namespace {
constexpr qint64 kBytesPerPixel = 4;
} // namespace

bool withinLimits(QSize size)
{
    if (size.isEmpty() || size.width() > kLongestSide || size.height() > kLongestSide)
        return false;
    return qint64(size.width()) * size.height() * kBytesPerPixel <= qint64(kLargestMegabytes) << 20;
}

} // namespace picture
