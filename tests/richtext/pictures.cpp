#include "pictures.h"

#include <QBuffer>

namespace testpictures {

QImage drawing(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int x = 0; x < width; ++x)
        image.setPixel(x, height / 2, qRgb(200, 30, 30));
    return image;
}

QImage photograph(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 noise = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            noise = noise * 1103515245 + 12345;
            const int grain = int(noise >> 28);
            image.setPixel(x, y, qRgb(x * 200 / width + grain, y * 200 / height + grain, 120 + grain));
        }
    }
    return image;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    image.save(&buffer, format);
    return bytes;
}

QByteArray hexLines(const QByteArray &data)
{
    const QByteArray hex = data.toHex();
    QByteArray lines;
    for (qsizetype i = 0; i < hex.size(); i += 128)
        lines += hex.mid(i, 128) + "\r\n";
    return lines;
}

} // namespace testpictures
