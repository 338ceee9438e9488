#pragma once

#include <QByteArray>
#include <QTextImageFormat>

#include <optional>

class QTextDocument;

namespace richtext {

// A \pict group as read: its kind, sizes and data, and its control words as
// written, so a picture that cannot be shown goes back out unchanged.
struct RtfPictureData
{
    enum Kind { Unknown, Png, Jpeg, Dib, Ddb, Wmf, Emf };
    Kind kind = Unknown;
    QByteArray header;
    QByteArray data;
    int width = 0;
    int height = 0;
    int goalWidth = 0;
    int goalHeight = 0;
    int scaleX = 100;
    int scaleY = 100;
    int widthBytes = 0;
    int bitsPerPixel = 1;
    int pendingNibble = -1;
    bool tooLarge = false;

    void appendHex(QByteArrayView digits);
    void appendBinary(QByteArrayView bytes);

private:
    // Past the limit the data is dropped at once, not kept to the end.
    bool fits(qsizetype more);
};

// Adds the picture to the document, as itself or as a placeholder of its
// stated size; nothing when it was over the size limit.
std::optional<QTextImageFormat> pictureFormat(QTextDocument &document, const RtfPictureData &picture);

} // namespace richtext
