#include "printerchoice.h"

#include "seams/dialogs.h"
#include "ui/startfolder.h"

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>

namespace printing {

std::unique_ptr<QPrinter> systemPrinter()
{
    const QPrinterInfo installed = QPrinterInfo::defaultPrinter();
    if (!installed.isNull())
        return std::make_unique<QPrinter>(installed, QPrinter::HighResolution);
    auto pdf = std::make_unique<QPrinter>(QPrinter::HighResolution);
    pdf->setOutputFormat(QPrinter::PdfFormat);
    return pdf;
}

bool nameOutputFile(QPrinter &printer, Dialogs &dialogs, const QString &dayKey)
{
    if (printer.outputFormat() != QPrinter::PdfFormat)
        return true;
    const QString suggested = QDir(startFolder(QStandardPaths::DocumentsLocation)).filePath(dayKey + QStringLiteral(".pdf"));
    const QString path = dialogs.saveFile(QStringLiteral("Print to File"), suggested,
                                          QStringLiteral("PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*"));
    if (path.isEmpty())
        return false;
    printer.setOutputFileName(path);
    return true;
}

} // namespace printing
