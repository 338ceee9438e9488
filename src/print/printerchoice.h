#pragma once

#include <QPrinter>
#include <QString>

#include <functional>
#include <memory>

class Dialogs;

namespace printing {

// Where a print window gets its printer; tests hand in a PDF printer.
using PrinterSource = std::function<std::unique_ptr<QPrinter>()>;

// The system's default printer, or, on a system without one, a PDF printer
// whose file the user names at each print.
std::unique_ptr<QPrinter> systemPrinter();

// A PDF printer asks for its file, suggesting the day's name; false when the
// user cancels. Any other printer needs nothing.
bool nameOutputFile(QPrinter &printer, Dialogs &dialogs, const QString &dayKey);

} // namespace printing
