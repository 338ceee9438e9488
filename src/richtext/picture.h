#pragma once

#include <QByteArray>
#include <QImage>
#include <QMetaType>
#include <QSize>
#include <QSizeF>
#include <QTextImageFormat>

#include <optional>

class QTextDocument;

namespace richtext {

// A picture as a page stores it. PNG and JPEG pictures keep the file's own
// bytes, so a save writes back exactly what was loaded or pasted. A picture
// that cannot be shown keeps its \pict control words and data as read.
struct StoredPicture
{
    enum Kind { Png, Jpeg, Kept };
    Kind kind = Png;
    QByteArray bytes;
    QByteArray keptHeader;
    QSize pixels;
};

// Makes the picture a resource of the document, shown as `shown` at
// `displaySize` (pixels; the image's own size when empty), and returns the
// format that inserts it.
QTextImageFormat addPicture(QTextDocument &document, const StoredPicture &picture, const QImage &shown,
                            QSizeF displaySize = {});

// The stored form of an image in the document: its own bytes when it has
// them, else its shown image encoded as PNG; nothing for an unknown image.
std::optional<StoredPicture> storedPicture(const QTextDocument &document, const QTextImageFormat &format);

// PNG for drawings and screenshots, high-quality JPEG for photographs.
StoredPicture compactPicture(const QImage &image);

// What stands in for a picture that cannot be shown.
QImage placeholderImage(QSize size);

// A PNG or JPEG decoded within the reader's limits; a null image when the
// bytes are not one or are too large. One larger than `within`, when given,
// is decoded scaled down to fit it.
QImage decodeImage(const QByteArray &bytes, const char *format = nullptr, QSize within = {});

// The size a PNG's or JPEG's header states; empty when the bytes are not one.
QSize headerSize(const QByteArray &bytes);

// What a picture shown at `displaySize` needs decoded: one and a half times that, for
// high-density screens and print, and never more than a few megapixels.
QSize shownBound(QSizeF displaySize);

} // namespace richtext

Q_DECLARE_METATYPE(richtext::StoredPicture)
