#include "pagecopy.h"

#include "twips.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>
#include <vector>

namespace richtext {

namespace {

struct Picture
{
    int position = 0;
    int length = 0;
    QTextImageFormat format;
};

std::vector<Picture> pictures(const QTextDocument &document)
{
    std::vector<Picture> found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isImageFormat())
                found.push_back({fragment.position(), fragment.length(), fragment.charFormat().toImageFormat()});
        }
    }
    return found;
}

// A picture's size is kept in pixels of a 96-dpi screen and scaled to the
// device's resolution when laid out. Rounded down, as the layout rounds it
// to whole pixels, so the scaled picture never comes out larger than the room.
qreal keptPixels(qreal devicePixels, const QPaintDevice &device)
{
    return std::floor(devicePixels * kTwipsPerInch / (kTwipsPerPixel * device.logicalDpiY()));
}

void fitPictures(QTextDocument &copy, const QPaintDevice &device, QSizeF room)
{
    QTextObjectInterface *images = copy.documentLayout()->handlerForObject(QTextFormat::ImageObject);
    for (const Picture &picture : pictures(copy)) {
        const QSizeF shown = images->intrinsicSize(&copy, picture.position, picture.format);
        if (shown.isEmpty() || (shown.width() <= room.width() && shown.height() <= room.height()))
            continue;
        const qreal scale = std::min(room.width() / shown.width(), room.height() / shown.height());
        QTextImageFormat fitted;
        fitted.setWidth(keptPixels(shown.width() * scale, device));
        fitted.setHeight(keptPixels(shown.height() * scale, device));
        QTextCursor cursor(&copy);
        cursor.setPosition(picture.position);
        cursor.setPosition(picture.position + picture.length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(fitted);
    }
}

// Within a paragraph Qt draws the line just above its clip too: hidden by
// the painter's clip, it would still sit in a PDF's text. So the part of a
// paragraph that earlier pages drew is taken out of the copy; the rest wraps
// as before, since a line breaks only on what follows its start, and goes
// on without the paragraph's first-line indent and space before.
// Returns how many characters were taken out.
int dropDrawnPart(QTextDocument &copy, int from)
{
    const QTextBlock block = copy.findBlock(from);
    if (!block.isValid() || from <= block.position())
        return 0;
    QTextCursor cursor(block);
    cursor.setPosition(from, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    QTextBlockFormat continued;
    continued.setTextIndent(0);
    continued.setTopMargin(0);
    cursor.mergeBlockFormat(continued);
    return from - block.position();
}

} // namespace

PageCopy pageCopy(const QTextDocument &document, QPaintDevice &device, QSizeF room, int from)
{
    PageCopy page{std::unique_ptr<QTextDocument>(document.clone())};
    QTextDocument &copy = *page.document;
    copy.documentLayout()->setPaintDevice(&device);
    copy.setUseDesignMetrics(true);
    copy.setDocumentMargin(0);
    fitPictures(copy, device, room);
    page.offset = dropDrawnPart(copy, from);
    // Last: a new width lays the whole copy out afresh, after every change to it.
    copy.setTextWidth(room.width());
    return page;
}

} // namespace richtext
