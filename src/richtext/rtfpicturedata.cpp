#include "rtfpicturedata.h"

#include "picture.h"
#include "rtflimits.h"
#include "twips.h"
#include "windowspicture.h"

#include <array>

namespace richtext {

namespace {

constexpr qreal kHimetricPerPixel = 2540.0 / 96;
constexpr int kUnknownSide = 96;

const std::array<qint8, 256> &hexTable()
{
    static const std::array<qint8, 256> table = [] {
        std::array<qint8, 256> t{};
        t.fill(-1);
        for (int d = 0; d < 10; ++d)
            t['0' + d] = qint8(d);
        for (int d = 0; d < 6; ++d) {
            t['a' + d] = qint8(10 + d);
            t['A' + d] = qint8(10 + d);
        }
        return t;
    }();
    return table;
}

QImage decoded(const RtfPictureData &picture)
{
    switch (picture.kind) {
    case RtfPictureData::Png:
    case RtfPictureData::Jpeg: break;
    case RtfPictureData::Dib: return windowspicture::fromDib(picture.data);
    case RtfPictureData::Ddb:
        return windowspicture::fromDdb(picture.data, picture.width, picture.height, picture.widthBytes,
                                       picture.bitsPerPixel);
    case RtfPictureData::Wmf: return windowspicture::fromWmf(picture.data);
    case RtfPictureData::Emf: return windowspicture::fromEmf(picture.data);
    case RtfPictureData::Unknown: break;
    }
    return {};
}

// Pixels, from the goal size in twips when there is one, else from the
// picture's own size (hundredths of a millimetre for a metafile).
QSizeF statedSize(const RtfPictureData &picture, QSize imageSize)
{
    QSizeF size;
    if (picture.goalWidth > 0 && picture.goalHeight > 0)
        size = QSizeF(picture.goalWidth, picture.goalHeight) / qreal(kTwipsPerPixel);
    else if (!imageSize.isEmpty())
        size = imageSize;
    else if (picture.width > 0 && picture.height > 0) {
        const bool metafile = picture.kind == RtfPictureData::Wmf || picture.kind == RtfPictureData::Emf;
        size = QSizeF(picture.width, picture.height) / (metafile ? kHimetricPerPixel : 1.0);
    } else
        size = QSizeF(kUnknownSide, kUnknownSide);
    if (picture.scaleX > 0 && picture.scaleY > 0)
        size = QSizeF(size.width() * picture.scaleX / 100, size.height() * picture.scaleY / 100);
    return size.boundedTo(QSizeF(limits::kImageSide, limits::kImageSide)).expandedTo(QSizeF(1, 1));
}

QTextImageFormat placeholder(QTextDocument &document, const RtfPictureData &picture, QSizeF size)
{
    const StoredPicture kept{StoredPicture::Kept, picture.data, picture.header, {}};
    return addPicture(document, kept, placeholderImage(size.toSize()), size);
}

} // namespace

void RtfPictureData::appendHex(QByteArrayView digits)
{
    if (!fits(digits.size() / 2 + 1))
        return;
    const auto &table = hexTable();
    const qsizetype start = data.size();
    data.resize(start + digits.size() / 2 + 1);
    char *out = data.data() + start;
    qsizetype i = 0;
    // Two digits at a time while they pair up cleanly, as a picture's hex nearly always does.
    while (pendingNibble < 0 && i + 1 < digits.size()) {
        const int high = table[uchar(digits[i])];
        const int low = table[uchar(digits[i + 1])];
        if ((high | low) < 0)
            break;
        *out++ = char(high * 16 + low);
        i += 2;
    }
    for (const char c : digits.sliced(i)) {
        const int value = table[uchar(c)];
        if (value < 0)
            continue;
        if (pendingNibble < 0) {
            pendingNibble = value;
        } else {
            *out++ = char(pendingNibble * 16 + value);
            pendingNibble = -1;
        }
    }
    data.truncate(out - data.constData());
}

void RtfPictureData::appendBinary(QByteArrayView bytes)
{
    if (!fits(bytes.size()))
        return;
    pendingNibble = -1;
    data.append(bytes);
}

bool RtfPictureData::fits(qsizetype more)
{
    tooLarge = tooLarge || data.size() + more > limits::kPictureBytes;
    if (tooLarge)
        data = QByteArray();
    return !tooLarge;
}

std::optional<QTextImageFormat> pictureFormat(QTextDocument &document, const RtfPictureData &picture)
{
    if (picture.tooLarge)
        return std::nullopt;
    if (picture.kind == RtfPictureData::Png || picture.kind == RtfPictureData::Jpeg) {
        // The stored bytes keep every pixel; the shown image needs only what the page shows.
        const QSize own = headerSize(picture.data);
        const QSizeF size = statedSize(picture, own);
        const QImage image = decodeImage(picture.data, nullptr, shownBound(size));
        const auto kind = picture.kind == RtfPictureData::Png ? StoredPicture::Png : StoredPicture::Jpeg;
        if (!image.isNull())
            return addPicture(document, {kind, picture.data, {}, own}, image, size);
        return placeholder(document, picture, size);
    }
    const QImage image = decoded(picture);
    const QSizeF size = statedSize(picture, image.size());
    if (image.isNull())
        return placeholder(document, picture, size);
    return addPicture(document, compactPicture(image), image, size);
}

} // namespace richtext
