#pragma once

#include "printgeometry.h"

#include <QMargins>

class Dialogs;
class QPrinter;
class RichTextEdit;

// Breaks the editor's lines where the printer will, whatever the editor's
// own width, and gives the size of the text area inside the margins (twips).
printing::PrinterLayout LayoutForPrinter(RichTextEdit &editor, const QPrinter &printer, const QMargins &margins);

// Prints the whole editor inside the margins (twips) and reports a failure
// to the user itself.
void PrintRichText(const RichTextEdit &editor, QPrinter &printer, Dialogs &dialogs, const QMargins &margins);
