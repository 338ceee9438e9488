#pragma once

#include <QMargins>
#include <QString>

#include <optional>

class QPrinter;
class RichTextEdit;

namespace printing {

struct PrintFailure
{
    // The printer would not start the job or a page; any other fault
    // (the output file cannot be made) carries its number and description.
    enum class Kind { Printer, Other };
    Kind kind = Kind::Printer;
    int number = 0;
    QString description{};
};

// Prints the whole editor, page after page, inside `margins` (twips, from
// the sheet's edges). A job that fails part way is abandoned, never left
// open, and a partly written PDF file is removed.
std::optional<PrintFailure> printDocument(const RichTextEdit &editor, QPrinter &printer, const QMargins &margins);

} // namespace printing
