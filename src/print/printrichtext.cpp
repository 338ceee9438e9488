#include "printrichtext.h"

#include "printermeasures.h"
#include "printjob.h"
#include "editor/richtextedit.h"
#include "seams/dialogs.h"
#include "seams/messages.h"

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
    if (failure->kind == printing::PrintFailure::Kind::Printer) {
        messages::tell(dialogs, messages::printerError());
        return;
    }
    messages::tell(dialogs, messages::printFailed());
    messages::tell(dialogs, messages::printFailure(failure->number, failure->description, QGuiApplication::applicationDisplayName()));
}
