#pragma once

#include "print/printerchoice.h"
#include "reminder/reminderunits.h"

#include <QString>
#include <QUrl>

#include <functional>

class Clock;
class Dialogs;
class Program;
namespace spelling {
class Service;
}

// What the main window needs from outside; tests hand in their own.
struct AppServices
{
    Dialogs *dialogs = nullptr;
    const Clock *clock = nullptr;
    Program *program = nullptr;
    std::function<bool(const QUrl &)> openUrl;
    // The working directory when the window is created: the data root.
    QString startDirectory;
    // Starting the program from its build folder uses the developer's diary.
    QString developmentFolder;
    QString developmentDataFolder;
    printing::PrinterSource printer = printing::systemPrinter;
    // Where the window keeps its choices for the next start (the idle delay); none in tests unless given.
    QString settingsFile;
    // Checks the spelling of the page, the note and the print window's copy; none in tests unless given.
    spelling::Service *spelling = nullptr;
    // Installs and removes the daily reminder's timer; the reminder is unavailable in tests unless given.
    reminder::Systemctl systemctl;
};
