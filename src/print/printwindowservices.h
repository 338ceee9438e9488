#pragma once

#include "printerchoice.h"

#include <QByteArray>
#include <QString>

#include <functional>

class Dialogs;

// What the print window needs from the program: its boxes, its printer, and
// the main window's day and page store, each read at the moment of use.
struct PrintWindowServices
{
    Dialogs *dialogs = nullptr;
    printing::PrinterSource printer;
    std::function<QString()> dayKey;
    std::function<bool(const QString &key)> pageExists;
    // Writes the day's page and reports its own failures; true once stored.
    std::function<bool(const QString &key, const QByteArray &rtf)> storePage;
    // The main window shows what was stored.
    std::function<void(const QByteArray &rtf)> showStoredCopy;
};
