#include "pdfoutline.h"

#include <QFile>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>
#include <stdexcept>

namespace pdfoutline {

namespace {

QPDFObjectHandle destination(const QPDFObjectHandle &page)
{
    return QPDFObjectHandle::newArray({page, QPDFObjectHandle::newName("/XYZ"), QPDFObjectHandle::newNull(),
                                       QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull()});
}

// The outline's items form a list under its dictionary, each linked to its neighbours.
QPDFObjectHandle outline(QPDF &pdf, const std::vector<Bookmark> &bookmarks)
{
    const std::vector<QPDFObjectHandle> &pages = pdf.getAllPages();
    QPDFObjectHandle root = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
    root.replaceKey("/Type", QPDFObjectHandle::newName("/Outlines"));
    QPDFObjectHandle previous;
    int count = 0;
    for (const Bookmark &bookmark : bookmarks) {
        if (bookmark.sheet < 0 || size_t(bookmark.sheet) >= pages.size())
            throw std::runtime_error("a bookmark points past the last sheet");
        QPDFObjectHandle item = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        item.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(bookmark.title.toStdString()));
        item.replaceKey("/Parent", root);
        item.replaceKey("/Dest", destination(pages[size_t(bookmark.sheet)]));
        if (previous.isInitialized()) {
            item.replaceKey("/Prev", previous);
            previous.replaceKey("/Next", item);
        } else {
            root.replaceKey("/First", item);
        }
        previous = item;
        ++count;
    }
    if (previous.isInitialized())
        root.replaceKey("/Last", previous);
    root.replaceKey("/Count", QPDFObjectHandle::newInteger(count));
    return root;
}

} // namespace

Outcome copyWithOutline(const QString &from, const QString &to, const std::vector<Bookmark> &bookmarks)
{
    // qpdf reports every fault, of the file or of memory, by throwing.
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(from).constData());
        QPDFObjectHandle catalog = pdf.getRoot();
        catalog.replaceKey("/Outlines", outline(pdf, bookmarks));
        catalog.replaceKey("/PageMode", QPDFObjectHandle::newName("/UseOutlines"));
        QPDFWriter writer(pdf, QFile::encodeName(to).constData());
        writer.write();
    } catch (const std::exception &error) {
        return Outcome::failure(QStringLiteral("%1: %2").arg(to, QString::fromLocal8Bit(error.what())));
    }
    return Outcome::success();
}

} // namespace pdfoutline
