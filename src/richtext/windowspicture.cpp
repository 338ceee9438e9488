#include "windowspicture.h"

#include "picture.h"
#include "rtflimits.h"

#include <QtEndian>

#include <algorithm>
#include <vector>

namespace richtext::windowspicture {

namespace {

constexpr quint32 kPlaceableKey = 0x9AC6CDD7;
constexpr qsizetype kPlaceableHeader = 22;
constexpr qsizetype kFileHeader = 14;

// Record functions of a Windows metafile that carry a DIB, with where it starts.
struct WmfBitmapRecord
{
    quint16 function;
    qsizetype dibOffset;
};
constexpr WmfBitmapRecord kWmfBitmaps[] = {
    {0x0F43, 28}, // StretchDIB
    {0x0B41, 26}, // DIBStretchBlt
    {0x0940, 22}, // DIBBitBlt
    {0x0D33, 24}, // SetDIBitsToDevice
};

// Enhanced metafile records that carry a bitmap, with where their offsets lie.
struct EmfBitmapRecord
{
    quint32 type;
    qsizetype offsetsAt;
};
constexpr EmfBitmapRecord kEmfBitmaps[] = {
    {76, 84}, // BitBlt
    {77, 84}, // StretchBlt
    {80, 48}, // SetDIBitsToDevice
    {81, 48}, // StretchDIBits
};

quint32 u32(QByteArrayView data, qsizetype at)
{
    return at >= 0 && at + 4 <= data.size() ? qFromLittleEndian<quint32>(data.data() + at) : 0;
}

quint16 u16(QByteArrayView data, qsizetype at)
{
    return at >= 0 && at + 2 <= data.size() ? qFromLittleEndian<quint16>(data.data() + at) : 0;
}

bool isInfoHeaderSize(quint32 size)
{
    return size == 12 || size == 40 || size == 52 || size == 56 || size == 64 || size == 108 || size == 124;
}

// Where the bits start behind BITMAPINFO: header, masks and colour table.
qsizetype bitsOffsetOf(QByteArrayView dib)
{
    const quint32 headerSize = u32(dib, 0);
    if (headerSize == 12) {
        const int bits = u16(dib, 10);
        return 12 + (bits <= 8 ? 3 * (1 << bits) : 0);
    }
    const int bits = u16(dib, 14);
    const quint32 compression = u32(dib, 16);
    const quint32 used = u32(dib, 32);
    if (used > 256 && bits <= 8)
        return -1;
    const qsizetype colours = used ? qsizetype(used) : (bits <= 8 ? qsizetype(1) << bits : 0);
    const qsizetype masks = headerSize == 40 && compression == 3 ? 12 : headerSize == 40 && compression == 6 ? 16 : 0;
    return headerSize + masks + 4 * std::min<qsizetype>(colours, 1 << 16);
}

// Uncompressed bits cover every row; a header promising more is damaged,
// and would only make the decoder paint a large empty picture.
bool holdsEveryRow(QByteArrayView dib, qsizetype bitsSize)
{
    const bool core = u32(dib, 0) == 12;
    const qint64 width = core ? u16(dib, 4) : qint32(u32(dib, 4));
    const qint64 height = core ? u16(dib, 6) : std::abs(qint64(qint32(u32(dib, 8))));
    const int bits = core ? u16(dib, 10) : u16(dib, 14);
    const quint32 compression = core ? 0 : u32(dib, 16);
    if (compression != 0 && compression != 3 && compression != 6)
        return true;
    const qint64 stride = (width * bits + 31) / 32 * 4;
    // Divided rather than multiplied: a forged width and height overflow the product.
    return width > 0 && (stride == 0 || height <= bitsSize / stride);
}

QImage decodeCandidates(std::vector<QByteArrayView> dibs, const std::vector<qsizetype> &offsets)
{
    std::vector<size_t> order(dibs.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return dibs[a].size() > dibs[b].size(); });
    for (const size_t i : order) {
        const QImage image = fromDib(dibs[i], offsets[i]);
        if (!image.isNull())
            return image;
    }
    return {};
}

} // namespace

QImage fromDib(QByteArrayView dib, qsizetype bitsOffset)
{
    if (!isInfoHeaderSize(u32(dib, 0)))
        return {};
    if (bitsOffset < 0)
        bitsOffset = bitsOffsetOf(dib);
    if (bitsOffset <= 0 || bitsOffset > dib.size() || !holdsEveryRow(dib, dib.size() - bitsOffset))
        return {};
    QByteArray file;
    file.reserve(kFileHeader + dib.size());
    file.append("BM");
    char field[4];
    qToLittleEndian<quint32>(quint32(kFileHeader + dib.size()), field);
    file.append(field, 4);
    file.append(4, '\0');
    qToLittleEndian<quint32>(quint32(kFileHeader + bitsOffset), field);
    file.append(field, 4);
    file.append(dib);
    return decodeImage(file, "bmp");
}

QImage fromDdb(QByteArrayView bits, int width, int height, int widthBytes, int bitsPerPixel)
{
    const QImage::Format format = bitsPerPixel == 1    ? QImage::Format_Mono
                                  : bitsPerPixel == 8  ? QImage::Format_Grayscale8
                                  : bitsPerPixel == 16 ? QImage::Format_RGB555
                                  : bitsPerPixel == 24 ? QImage::Format_BGR888
                                  : bitsPerPixel == 32 ? QImage::Format_RGB32
                                                       : QImage::Format_Invalid;
    if (format == QImage::Format_Invalid || !limits::imageFits(QSize(width, height))
        || qint64(widthBytes) * 8 < qint64(width) * bitsPerPixel
        || qint64(widthBytes) * height > bits.size())
        return {};
    QImage image(width, height, format);
    if (image.isNull())
        return {};
    if (format == QImage::Format_Mono)
        image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    const qsizetype row = std::min<qsizetype>(image.bytesPerLine(), widthBytes);
    for (int y = 0; y < height; ++y)
        std::copy_n(bits.data() + qsizetype(y) * widthBytes, row, image.scanLine(y));
    return image;
}

QImage fromWmf(QByteArrayView wmf)
{
    if (u32(wmf, 0) == kPlaceableKey)
        wmf = wmf.sliced(std::min(kPlaceableHeader, wmf.size()));
    std::vector<QByteArrayView> dibs;
    qsizetype at = qsizetype(u16(wmf, 2)) * 2;
    while (at + 6 <= wmf.size()) {
        const qint64 size = qint64(u32(wmf, at)) * 2;
        const quint16 function = u16(wmf, at + 4);
        if (size < 6 || function == 0)
            break;
        const qsizetype end = qsizetype(std::min<qint64>(at + size, wmf.size()));
        for (const WmfBitmapRecord &record : kWmfBitmaps) {
            if (function == record.function && at + record.dibOffset < end)
                dibs.push_back(wmf.sliced(at + record.dibOffset, end - at - record.dibOffset));
        }
        at = end;
    }
    return decodeCandidates(dibs, std::vector<qsizetype>(dibs.size(), -1));
}

QImage fromEmf(QByteArrayView emf)
{
    std::vector<QByteArrayView> dibs;
    std::vector<qsizetype> offsets;
    qsizetype at = 0;
    while (at + 8 <= emf.size()) {
        const quint32 type = u32(emf, at);
        const qsizetype size = u32(emf, at + 4);
        if (size < 8 || size > emf.size() - at)
            break;
        const QByteArrayView record = emf.sliced(at, size);
        for (const EmfBitmapRecord &kind : kEmfBitmaps) {
            const qsizetype bmi = u32(record, kind.offsetsAt), bmiSize = u32(record, kind.offsetsAt + 4);
            const qsizetype bits = u32(record, kind.offsetsAt + 8), bitsSize = u32(record, kind.offsetsAt + 12);
            if (type != kind.type || bmiSize == 0 || bmi + bmiSize > size || bits + bitsSize > size || bits < bmi + bmiSize)
                continue;
            dibs.push_back(record.sliced(bmi, bits + bitsSize - bmi));
            offsets.push_back(bits - bmi);
        }
        at += size;
    }
    return decodeCandidates(dibs, offsets);
}

} // namespace richtext::windowspicture
