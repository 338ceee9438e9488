#pragma once

#include <QUrl>

#include <functional>

class Dialogs;
class DataRoot;
class QWidget;

// Help > About, Web Page and Help. openUrl hands a page to the desktop.
namespace helpcommands {

using UrlOpener = std::function<bool(const QUrl &)>;

QUrl homePage();
void about(Dialogs &dialogs);
void webPage(const UrlOpener &openUrl, Dialogs &dialogs);
// The desktop's own viewer, else the program's help window, which parent owns.
void help(const UrlOpener &openUrl, const DataRoot &root, QWidget *parent);
// The help page built into the program.
QUrl ownHelpPage();

} // namespace helpcommands
