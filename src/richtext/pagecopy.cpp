#include "pagecopy.h"

#include "pagerange.h"
#include "twips.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintDevice>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QUrl>

#include <algorithm>
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

// The text of [from, until) in a document of its own, with what the layout
// reads of the whole document: its fonts, options, frame and pictures, so a
// sheet costs what it shows, not the whole page.
//
// Within a paragraph Qt draws the line just above its clip too: hidden by
// the painter's clip, it would still sit in a PDF's text. So the part of a
// paragraph that earlier sheets drew is left out; the rest wraps as before,
// since a line breaks only on what follows its start, and goes on without
// the paragraph's first-line indent and space before.
std::unique_ptr<QTextDocument> rangeCopy(const QTextDocument &document, int from, int until)
{
    auto copy = std::make_unique<QTextDocument>();
    copy->setDefaultFont(document.defaultFont());
    copy->setDefaultTextOption(document.defaultTextOption());
    copy->setIndentWidth(document.indentWidth());
    copy->rootFrame()->setFrameFormat(document.rootFrame()->frameFormat());
    const QTextBlock first = document.findBlock(from).isValid() ? document.findBlock(from) : document.begin();
    QTextCursor range(first);
    range.setPosition(std::clamp(from, first.position(), textEnd(document)));
    range.setPosition(std::clamp(until, range.position(), textEnd(document)), QTextCursor::KeepAnchor);
    QTextCursor into(copy.get());
    into.insertFragment(QTextDocumentFragment(range));
    into.setPosition(0);
    QTextBlockFormat format = first.blockFormat();
    if (from > first.position()) {
        format.setTextIndent(0);
        format.setTopMargin(0);
    }
    into.setBlockFormat(format);
    into.setBlockCharFormat(first.charFormat());
    for (const Picture &picture : pictures(*copy)) {
        const QUrl name(picture.format.name());
        copy->addResource(QTextDocument::ImageResource, name, document.resource(QTextDocument::ImageResource, name));
    }
    return copy;
}

} // namespace

PageCopy pageCopy(const QTextDocument &document, QPaintDevice &device, QSizeF room, int from, int until)
{
    PageCopy page{rangeCopy(document, from, until), from};
    QTextDocument &copy = *page.document;
    copy.documentLayout()->setPaintDevice(&device);
    copy.setUseDesignMetrics(true);
    copy.setDocumentMargin(0);
    fitPictures(copy, device, room);
    // Last: a new width lays the whole copy out afresh, after every change to it.
    copy.setTextWidth(room.width());
    return page;
}

} // namespace richtext
