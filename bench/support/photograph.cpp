#include "photograph.h"

QImage photograph(QSize size)
{
    const int width = size.width();
    const int height = size.height();
    QImage image(size, QImage::Format_RGB32);
    quint32 noise = 1;
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245 + 12345;
            const int grain = int(noise >> 27);
            line[x] = qRgb(x * 200 / width + grain, y * 200 / height + grain, (x + y) % 200 + grain);
        }
    }
    return image;
}
