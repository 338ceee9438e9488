#include "testimages.h"

#include <QFile>
#include <QTemporaryDir>

#include <array>

namespace testimages {

namespace {

const std::array<QRgb, 4> kColours{qRgb(0xd0, 0x30, 0x30), qRgb(0x30, 0xa0, 0x40), qRgb(0x30, 0x50, 0xc0), qRgb(0xf0, 0xe0, 0x60)};

int blockColour(int x, int y)
{
    return (x / 8 + y / 8) % 4;
}

} // namespace

QString fileIn(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

QImage blocks(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, kColours[blockColour(x, y)]);
    }
    return image;
}

} // namespace testimages
