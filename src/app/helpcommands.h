#pragma once

#include <QUrl>

#include <functional>

class Dialogs;
class DataRoot;

// Help > About, Web Page and Help. openUrl hands a page to the desktop.
namespace helpcommands {

using UrlOpener = std::function<bool(const QUrl &)>;

QUrl homePage();
void about(Dialogs &dialogs);
// Silent whether or not a browser opens, as the command has always been.
void webPage(const UrlOpener &openUrl);
void help(const UrlOpener &openUrl, const DataRoot &root, Dialogs &dialogs);

} // namespace helpcommands
