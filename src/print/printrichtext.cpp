#include "printrichtext.h"

#include "printermeasures.h"
#include "printjob.h"
#include "editor/richtextedit.h"
#include "seams/dialogs.h"

#include <QGuiApplication>

printing::PrinterLayout LayoutForPrinter(RichTextEdit &editor, const QPrinter &printer, const QMargins &margins)
{
    const printing::PrinterLayout layout = printing::printerLayout(printing::pageTwips(printer), margins);
    // A page too small for its margins is left to the caller to notice.
    if (layout.lineWidth > 0)
        editor.layoutForPrinter(layout.lineWidth);
    return layout;
}

void PrintRichText(const RichTextEdit &editor, QPrinter &printer, Dialogs &dialogs, const QMargins &margins)
{
    const auto failure = printing::printDocument(editor, printer, margins);
    if (!failure)
        return;
    const QString title = QStringLiteral("Printer ERROR!");
    if (failure->kind == printing::PrintFailure::Kind::Printer) {
        dialogs.message(QStringLiteral("Printer ERROR...Make sure you have a printer selected and it is online, with paper, and not jammed."),
                        title, Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        return;
    }
    dialogs.message(QStringLiteral("There was an error while trying to Print!"), title, Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
    dialogs.message(QStringLiteral("Error %1: %2").arg(failure->number).arg(failure->description),
                    QGuiApplication::applicationDisplayName(), Dialogs::Icon::None, Dialogs::Buttons::Ok);
}
