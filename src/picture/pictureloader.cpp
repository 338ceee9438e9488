#include "pictureloader.h"

#include "picturelimits.h"

#include <QImageReader>

namespace picture {

QImage loadPicture(const QString &path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(kLargestMegabytes);
    // The header's size refuses a huge picture before any pixel is decoded;
    // a format that cannot tell is still held by the allocation limit.
    const QSize stated = reader.size();
    if (stated.isValid() && !withinLimits(stated))
        return {};
    const QImage image = reader.read();
    if (image.isNull() || !withinLimits(image.size()))
        return {};
    return image;
}

} // namespace picture
