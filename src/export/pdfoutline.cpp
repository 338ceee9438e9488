#include "pdfoutline.h"

#include "partfile.h"

#include <QFile>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <algorithm>
#include <exception>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace pdfoutline {

namespace {

using Handle = QPDFObjectHandle;

// A write that fell short, carried out through the qpdf calls around it.
struct WriteFailed
{
    Outcome outcome;
};

// The file's own cross-reference section, which the update's points back at,
// is found through the offset after its last "startxref".
qint64 lastCrossReference(const QString &fileName)
{
    constexpr qint64 kTail = 1024;
    constexpr QByteArrayView kKeyword("startxref");
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(std::max<qint64>(0, file.size() - kTail)))
        throw std::runtime_error(file.errorString().toStdString());
    const QByteArray tail = file.readAll();
    const qsizetype keyword = tail.lastIndexOf(kKeyword);
    bool ok = false;
    const qint64 offset = keyword < 0 ? 0 : tail.mid(keyword + kKeyword.size()).simplified().split(' ').value(0).toLongLong(&ok);
    if (!ok || offset <= 0 || offset >= file.size())
        throw std::runtime_error("the PDF has no cross-reference offset at its end");
    return offset;
}

// The trailer's size: one more than the file's highest object number.
int firstFreeNumber(QPDF &pdf)
{
    Handle size = pdf.getTrailer().getKey("/Size");
    if (!size.isInteger() || size.getIntValue() <= 0)
        throw std::runtime_error("the PDF's trailer has no size");
    return size.getIntValueAsInt();
}

// Objects appended after the end of the file, then the cross-reference
// section that lists exactly them and leads on to the file's own.
class Update
{
public:
    Update(QPDF &pdf, PartFile &file) : m_pdf(pdf), m_file(file), m_next(firstFreeNumber(pdf)), m_end(file.device().size()) {}

    // New objects take the numbers after the file's last: qpdf's own
    // numbering would first read every object of the file into memory.
    Handle make()
    {
        const QPDFObjGen id(m_next++, 0);
        m_pdf.replaceObject(id, Handle::newDictionary());
        return m_pdf.getObject(id);
    }

    // A written object is emptied, or qpdf would keep the whole outline;
    // references to it stay valid.
    void write(Handle object)
    {
        const QPDFObjGen id = object.getObjGen();
        m_offsets.push_back({id, m_end});
        append(id.unparse(' ') + " obj\n" + object.unparseResolved() + "\nendobj\n");
        m_pdf.replaceObject(id, Handle::newDictionary());
    }

    void finish(qint64 previous)
    {
        const qint64 start = m_end;
        std::sort(m_offsets.begin(), m_offsets.end(), [](const Written &a, const Written &b) { return a.id.getObj() < b.id.getObj(); });
        append("xref\n");
        for (auto run = m_offsets.begin(); run != m_offsets.end();) {
            const auto last = std::adjacent_find(run, m_offsets.end(), [](const Written &a, const Written &b) {
                return b.id.getObj() != a.id.getObj() + 1;
            });
            const auto after = last == m_offsets.end() ? last : std::next(last);
            append(std::to_string(run->id.getObj()) + ' ' + std::to_string(after - run) + '\n');
            for (; run != after; ++run)
                append(entry(*run));
        }
        append("trailer\n" + trailer(previous).unparse() + "\nstartxref\n" + std::to_string(start) + "\n%%EOF\n");
    }

private:
    struct Written
    {
        QPDFObjGen id;
        qint64 offset = 0;
    };

    // Each entry is exactly 20 bytes, its line end a space and a line feed.
    static std::string entry(const Written &written)
    {
        return QByteArray::number(written.offset).rightJustified(10, '0').toStdString() + ' '
            + QByteArray::number(written.id.getGen()).rightJustified(5, '0').toStdString() + " n \n";
    }

    // The old trailer's keys that still hold, the new size and the link back.
    Handle trailer(qint64 previous)
    {
        Handle old = m_pdf.getTrailer();
        Handle trailer = Handle::newDictionary();
        for (const char *key : {"/Root", "/Info", "/ID"}) {
            if (old.hasKey(key))
                trailer.replaceKey(key, old.getKey(key));
        }
        trailer.replaceKey("/Size", Handle::newInteger(m_next));
        trailer.replaceKey("/Prev", Handle::newInteger(previous));
        return trailer;
    }

    void append(const std::string &text)
    {
        if (Outcome appended = m_file.append(QByteArrayView(text.data(), qsizetype(text.size()))); !appended)
            throw WriteFailed {std::move(appended)};
        m_end += qint64(text.size());
    }

    QPDF &m_pdf;
    PartFile &m_file;
    int m_next;
    qint64 m_end;
    std::vector<Written> m_offsets;
};

// The sheets in order, as references only: qpdf's own page list would read
// every page's dictionary. Qt's writer puts them all under the tree's root.
Handle sheets(QPDF &pdf)
{
    Handle tree = pdf.getRoot().getKey("/Pages");
    Handle kids = tree.getKey("/Kids");
    if (!kids.isArray() || !tree.getKey("/Count").isInteger() || tree.getKey("/Count").getIntValue() != kids.getArrayNItems())
        throw std::runtime_error("the PDF's sheets are not in one list");
    return kids;
}

Handle destination(const Handle &page)
{
    return Handle::newArray({page, Handle::newName("/XYZ"), Handle::newNull(), Handle::newNull(), Handle::newNull()});
}

// The outline's items form a list under its dictionary, each linked to its
// neighbours; an item is written as soon as the next one has its number.
Handle writeOutline(QPDF &pdf, Update &update, const std::vector<Bookmark> &bookmarks)
{
    Handle pages = sheets(pdf);
    Handle outline = update.make();
    outline.replaceKey("/Type", Handle::newName("/Outlines"));
    Handle previous;
    for (const Bookmark &bookmark : bookmarks) {
        if (bookmark.sheet < 0 || bookmark.sheet >= pages.getArrayNItems())
            throw std::runtime_error("a bookmark points past the last sheet");
        Handle item = update.make();
        item.replaceKey("/Title", Handle::newUnicodeString(bookmark.title.toStdString()));
        item.replaceKey("/Parent", outline);
        item.replaceKey("/Dest", destination(pages.getArrayItem(bookmark.sheet)));
        if (previous.isInitialized()) {
            item.replaceKey("/Prev", previous);
            previous.replaceKey("/Next", item);
            update.write(previous);
        } else {
            outline.replaceKey("/First", item);
        }
        previous = item;
    }
    if (previous.isInitialized()) {
        outline.replaceKey("/Last", previous);
        update.write(previous);
    }
    outline.replaceKey("/Count", Handle::newInteger(qsizetype(bookmarks.size())));
    update.write(outline);
    return outline;
}

} // namespace

Outcome appendOutline(PartFile &file, const std::vector<Bookmark> &bookmarks)
{
    if (const Outcome flushed = file.flush(); !flushed)
        return flushed;
    // qpdf reports every fault, of the file or of memory, by throwing.
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        const QByteArray name = QFile::encodeName(file.fileName());
        pdf.processFile(name.constData());
        const qint64 previous = lastCrossReference(file.fileName());
        Update update(pdf, file);
        Handle catalog = pdf.getRoot();
        catalog.replaceKey("/Outlines", writeOutline(pdf, update, bookmarks));
        catalog.replaceKey("/PageMode", Handle::newName("/UseOutlines"));
        update.write(catalog);
        update.finish(previous);
        // A file qpdf had to mend has no cross-reference an update can lead on to.
        if (pdf.anyWarnings())
            throw std::runtime_error("the drawn PDF is damaged");
    } catch (const WriteFailed &failed) {
        return failed.outcome;
    } catch (const QPDFExc &error) {
        // qpdf's own reports name the file already.
        return Outcome::failure(QString::fromLocal8Bit(error.what()));
    } catch (const std::exception &error) {
        return Outcome::failure(QStringLiteral("%1: %2").arg(file.fileName(), QString::fromLocal8Bit(error.what())));
    }
    return Outcome::success();
}

} // namespace pdfoutline
