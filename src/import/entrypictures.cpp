#include "entrypictures.h"

#include "richtext/picture.h"

#include <QBuffer>
#include <QImageReader>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <vector>

namespace diaryimport {

namespace {

// Photographs are shown no wider than a page is on the screen.
constexpr qreal kWidestShown = 640;

QSizeF shownSize(const QTextImageFormat &format, QSize pixels)
{
    const qreal aspect = qreal(pixels.height()) / pixels.width();
    if (format.width() > 0 && format.height() > 0)
        return {format.width(), format.height()};
    if (format.width() > 0)
        return {format.width(), format.width() * aspect};
    if (format.height() > 0)
        return {format.height() / aspect, format.height()};
    const qreal width = std::min<qreal>(pixels.width(), kWidestShown);
    return {width, width * aspect};
}

// PNG and JPEG keep their own bytes; other kinds are stored as one of those.
std::optional<QTextImageFormat> pagePicture(QTextDocument &document, const QByteArray &bytes, const QTextImageFormat &format)
{
    const QImage image = richtext::decodeImage(bytes);
    if (image.isNull())
        return std::nullopt;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray kind = QImageReader::imageFormat(&buffer);
    const bool own = kind == "png" || kind == "jpeg";
    const richtext::StoredPicture stored =
        own ? richtext::StoredPicture{kind == "png" ? richtext::StoredPicture::Png : richtext::StoredPicture::Jpeg, bytes, {},
                                      image.size()}
            : richtext::compactPicture(image);
    QTextImageFormat shown = format;
    shown.merge(richtext::addPicture(document, stored, image, shownSize(format, image.size())));
    return shown;
}

QTextCharFormat asText(QTextCharFormat format)
{
    for (const int property : {QTextFormat::ObjectType, QTextFormat::ImageName, QTextFormat::ImageWidth,
                               QTextFormat::ImageHeight, QTextFormat::ImageAltText, QTextFormat::ImageTitle,
                               QTextFormat::ImageQuality})
        format.clearProperty(property);
    return format;
}

std::vector<std::pair<int, QTextImageFormat>> imagesIn(const QTextDocument &document, int from, int to)
{
    std::vector<std::pair<int, QTextImageFormat>> images;
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < to; block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            for (int at = std::max(from, fragment.position()); at < std::min(to, fragment.position() + fragment.length()); ++at)
                images.emplace_back(at, fragment.charFormat().toImageFormat());
        }
    }
    return images;
}

std::optional<QByteArray> pictureBytes(const Entry &entry, const QString &name, QStringList &refused)
{
    if (const auto bytes = entry.pictures.constFind(name); bytes != entry.pictures.cend())
        return *bytes;
    const auto file = entry.pictureFiles.constFind(name);
    if (file == entry.pictureFiles.cend())
        return std::nullopt;
    QString why;
    auto bytes = (*file)(why);
    if (!bytes && !why.isEmpty())
        refused.append(why);
    return bytes;
}

} // namespace

// From the last image back, since an image that becomes text moves what follows.
void embedPictures(QTextDocument &document, int from, int to, const Entry &entry, QStringList &refused)
{
    const auto images = imagesIn(document, from, to);
    // Reverse iterators, not a reversed view: clang 14 cannot compile those with this libstdc++.
    for (auto image = images.crbegin(); image != images.crend(); ++image) {
        const auto &[at, format] = *image;
        QTextCursor cursor(&document);
        cursor.setPosition(at);
        cursor.setPosition(at + 1, QTextCursor::KeepAnchor);
        const auto bytes = pictureBytes(entry, format.name(), refused);
        const auto picture = bytes ? pagePicture(document, *bytes, format) : std::nullopt;
        if (picture) {
            cursor.setCharFormat(*picture);
            continue;
        }
        const QString alternative = format.stringProperty(QTextFormat::ImageAltText);
        cursor.insertText(alternative.isEmpty() ? format.name() : alternative, asText(format));
    }
}

} // namespace diaryimport
