#pragma once

#include <QSizeF>

#include <memory>

class QPaintDevice;
class QTextDocument;

namespace richtext {

// What one page is drawn from: a copy of the document's text from the
// page's first position up to `until` (its end at most), laid out on `device` at the width of `room`
// (device pixels), with every picture larger than `room` scaled down to fit
// it, its proportions kept. The document itself is left as it is.
struct PageCopy
{
    std::unique_ptr<QTextDocument> document;
    // How far positions in the copy lie before the same text in the document.
    int offset = 0;
};

PageCopy pageCopy(const QTextDocument &document, QPaintDevice &device, QSizeF room, int from, int until);

} // namespace richtext
