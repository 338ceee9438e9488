#include "pictures.h"

#include <QBuffer>
#include <QImageWriter>
#include <QtEndian>

namespace testpictures {

namespace {

void put16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void put32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

} // namespace

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
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return bytes;
}

QByteArray dib(const QImage &image)
{
    return encoded(image.convertToFormat(QImage::Format_RGB888), "bmp").mid(14);
}

QByteArray wmfWrapping(const QByteArray &dib)
{
    QByteArray record;
    put32(record, 0x00CC0020);
    for (quint16 value : {0, 2, 2, 0, 0, 2, 2, 0, 0})
        put16(record, value);
    record.append(dib);
    if (record.size() % 2)
        record.append('\0');
    const quint32 recordWords = quint32(record.size() + 6) / 2;
    QByteArray body;
    put32(body, recordWords);
    put16(body, 0x0F43);
    body.append(record);
    put32(body, 3);
    put16(body, 0);
    QByteArray wmf;
    for (quint16 value : {1, 9, 0x300})
        put16(wmf, value);
    put32(wmf, quint32(18 + body.size()) / 2);
    put16(wmf, 0);
    put32(wmf, recordWords);
    put16(wmf, 0);
    return wmf + body;
}

QByteArray emfWrapping(const QByteArray &dib)
{
    constexpr quint32 kFixedPart = 80;
    constexpr quint32 kInfoHeader = 40;
    QByteArray emf;
    put32(emf, 1);
    put32(emf, 8);
    put32(emf, 81);
    put32(emf, kFixedPart + quint32(dib.size()));
    emf.append(40, '\0');
    for (quint32 value : {kFixedPart, kInfoHeader, kFixedPart + kInfoHeader, quint32(dib.size()) - kInfoHeader, 0u,
                          0x00CC0020u, 2u, 2u})
        put32(emf, value);
    emf.append(dib);
    put32(emf, 14);
    put32(emf, 20);
    emf.append(12, '\0');
    return emf;
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
