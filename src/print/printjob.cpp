#include "printjob.h"

#include "pageloop.h"
#include "printermeasures.h"
#include "diary/privatefiles.h"
#include "editor/richtextedit.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>

namespace printing {

namespace {

QString pdfFile(const QPrinter &printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
}

// The PDF writer says nothing about why it cannot open its file, so the
// file is made here first, where the reason is known; it keeps the private
// mode it is made with when the writer opens it again.
std::optional<PrintFailure> makeOutputFile(const QPrinter &printer)
{
    QFile file(pdfFile(printer));
    if (file.fileName().isEmpty() || privatefiles::openForWriting(file))
        return std::nullopt;
    return PrintFailure{PrintFailure::Kind::Other, file.error(), file.errorString()};
}

void abandon(QPrinter &printer, QPainter &painter)
{
    printer.abort();
    if (painter.isActive())
        painter.end();
    if (const QString file = pdfFile(printer); !file.isEmpty())
        QFile::remove(file);
}

} // namespace

std::optional<PrintFailure> printDocument(const RichTextEdit &editor, QPrinter &printer, const QMargins &margins)
{
    if (auto failure = makeOutputFile(printer))
        return failure;
    QPainter painter;
    if (!painter.begin(&printer)) {
        abandon(printer, painter);
        return PrintFailure{};
    }
    // Text cannot land outside what the printer reaches.
    const PageFrame frame = pageFrame(printer, margins);
    const QRectF area = frame.drawing.toRectF().intersected(frame.page.toRectF());
    const auto pages = printPages(
        editor.textEnd(), [&](int from) { return editor.renderRange(painter, area, from); }, [&] { return printer.newPage(); });
    if (!pages) {
        abandon(printer, painter);
        return PrintFailure{};
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return PrintFailure{};
    return std::nullopt;
}

} // namespace printing
