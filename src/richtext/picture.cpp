#include "picture.h"

#include "rtflimits.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QPixmap>
#include <QSet>
#include <QTextDocument>
#include <QUrl>

#include <atomic>

namespace richtext {

namespace {

// The stored form lives beside the shown image under the same name, so an
// image copied within the document keeps it.
constexpr int kStoredResource = QTextDocument::UserResource + 1;
constexpr int kJpegQuality = 92;
// Among this many sampled pixels, a photograph shows more distinct colours
// than a drawing or a screenshot ever does.
constexpr int kSampleGrid = 64;
constexpr int kPhotoColours = 1024;

// Unique in the process, so a name never points at another picture.
QUrl resourceName()
{
    static std::atomic<quint64> next = 0;
    return QUrl(QStringLiteral("picture:%1").arg(++next));
}

QByteArray encode(const QImage &image, const char *format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    return writer.write(image) ? bytes : QByteArray();
}

// Clipboard images often have an alpha channel they do not use, so only
// real transparency, which JPEG would lose, keeps a picture PNG.
bool looksLikePhotograph(const QImage &image)
{
    if (image.width() < kSampleGrid || image.height() < kSampleGrid)
        return false;
    QSet<QRgb> colours;
    for (int y = 0; y < kSampleGrid; ++y) {
        for (int x = 0; x < kSampleGrid; ++x) {
            const QRgb pixel = image.pixel(x * image.width() / kSampleGrid, y * image.height() / kSampleGrid);
            if (qAlpha(pixel) < 255)
                return false;
            colours.insert(pixel);
        }
    }
    return colours.size() > kPhotoColours;
}

// A document keeps one resource per name whatever its type, so the stored
// form needs a name of its own beside the shown image's.
QUrl storedName(const QUrl &shownName)
{
    QUrl name(shownName);
    name.setFragment(QStringLiteral("stored"));
    return name;
}

std::optional<QImage> resourceImage(const QVariant &resource)
{
    if (resource.userType() == QMetaType::QImage)
        return resource.value<QImage>();
    if (resource.userType() == QMetaType::QPixmap)
        return resource.value<QPixmap>().toImage();
    if (resource.userType() == QMetaType::QByteArray)
        return decodeImage(resource.toByteArray());
    return std::nullopt;
}

} // namespace

QTextImageFormat addPicture(QTextDocument &document, const StoredPicture &picture, const QImage &shown,
                            QSizeF displaySize)
{
    const QUrl name = resourceName();
    document.addResource(QTextDocument::ImageResource, name, shown);
    document.addResource(kStoredResource, storedName(name), QVariant::fromValue(picture));
    if (displaySize.isEmpty())
        displaySize = shown.size();
    QTextImageFormat format;
    format.setName(name.toString());
    format.setWidth(displaySize.width());
    format.setHeight(displaySize.height());
    return format;
}

std::optional<StoredPicture> storedPicture(const QTextDocument &document, const QTextImageFormat &format)
{
    const QUrl name(format.name());
    const QVariant stored = document.resource(kStoredResource, storedName(name));
    if (stored.canConvert<StoredPicture>())
        return stored.value<StoredPicture>();
    const auto image = resourceImage(document.resource(QTextDocument::ImageResource, name));
    if (!image || image->isNull())
        return std::nullopt;
    return compactPicture(*image);
}

StoredPicture compactPicture(const QImage &image)
{
    if (looksLikePhotograph(image))
        return {StoredPicture::Jpeg, encode(image.convertToFormat(QImage::Format_RGB32), "jpeg", kJpegQuality), {},
                image.size()};
    return {StoredPicture::Png, encode(image, "png", -1), {}, image.size()};
}

QImage placeholderImage(QSize size)
{
    const QSize bounded = size.boundedTo({limits::kPlaceholderSide, limits::kPlaceholderSide}).expandedTo({8, 8});
    QImage image(bounded, QImage::Format_RGB32);
    image.fill(QColor(0xe8, 0xe8, 0xe8));
    QPainter painter(&image);
    painter.setPen(QColor(0x90, 0x90, 0x90));
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    painter.drawLine(image.rect().topLeft(), image.rect().bottomRight());
    painter.drawLine(image.rect().bottomLeft(), image.rect().topRight());
    return image;
}

QImage decodeImage(const QByteArray &bytes, const char *format, QSize within)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAllocationLimit(limits::kImageMegabytes);
    const QSize size = reader.size();
    if (!limits::imageFits(size))
        return {};
    if (!within.isEmpty() && (size.width() > within.width() || size.height() > within.height()))
        reader.setScaledSize(size.scaled(within, Qt::KeepAspectRatio).expandedTo({1, 1}));
    return reader.read();
}

QSize headerSize(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return QImageReader(&buffer).size();
}

QSize shownBound(QSizeF displaySize)
{
    return (displaySize * 1.5).toSize().boundedTo({limits::kShownSide, limits::kShownSide}).expandedTo({1, 1});
}

} // namespace richtext
