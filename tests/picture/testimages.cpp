#include "testimages.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <array>

namespace testimages {

namespace {

const std::array<QRgb, 4> kColours{qRgb(0xd0, 0x30, 0x30), qRgb(0x30, 0xa0, 0x40), qRgb(0x30, 0x50, 0xc0), qRgb(0xf0, 0xe0, 0x60)};

int blockColour(int x, int y)
{
    return (x / 8 + y / 8) % 4;
}

void little16(QByteArray &out, int value)
{
    out.append(char(value & 0xff));
    out.append(char(value >> 8));
}

// Codes of three bits, packed from the low bit up. A clear code before every
// second pixel keeps the code table, and so the code width, from growing:
// the data needs no real compression.
QByteArray lzwPixels(int width, int height)
{
    constexpr int kClear = 4;
    constexpr int kEnd = 5;
    QByteArray bytes;
    int bits = 0;
    int count = 0;
    const auto code = [&](int value) {
        bits |= value << count;
        for (count += 3; count >= 8; count -= 8, bits >>= 8)
            bytes.append(char(bits & 0xff));
    };
    for (int i = 0; i < width * height; ++i) {
        if (i % 2 == 0)
            code(kClear);
        code(blockColour(i % width, i / width));
    }
    code(kEnd);
    if (count > 0)
        bytes.append(char(bits & 0xff));
    return bytes;
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

QImage checkerboard(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, (x + y) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    }
    return image;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(95);
    writer.write(image);
    return bytes;
}

QByteArray gif(int width, int height)
{
    QByteArray out("GIF89a");
    little16(out, width);
    little16(out, height);
    out.append("\x81\x00\x00", 3); // a global table of four colours
    for (QRgb colour : kColours) {
        out.append(char(qRed(colour)));
        out.append(char(qGreen(colour)));
        out.append(char(qBlue(colour)));
    }
    out.append(',');
    little16(out, 0);
    little16(out, 0);
    little16(out, width);
    little16(out, height);
    out.append('\0');
    out.append('\2'); // two-bit colour codes
    const QByteArray data = lzwPixels(width, height);
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        out.append(char(block.size()));
        out.append(block);
    }
    out.append('\0');
    out.append(';');
    return out;
}

QByteArray jpegTurnedRight(const QImage &image)
{
    // An APP1 segment with one IFD entry: orientation (0x0112) = 6.
    static const char kExif[] = "\xff\xe1\x00\x22"
                                "Exif\x00\x00"
                                "MM\x00\x2a\x00\x00\x00\x08"
                                "\x00\x01"
                                "\x01\x12\x00\x03\x00\x00\x00\x01\x00\x06\x00\x00"
                                "\x00\x00\x00\x00";
    QByteArray jpeg = encoded(image, "jpeg");
    return jpeg.insert(2, kExif, sizeof kExif - 1);
}

} // namespace testimages
