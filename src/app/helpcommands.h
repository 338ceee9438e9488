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
void webPage(const UrlOpener &openUrl, Dialogs &dialogs);
void help(const UrlOpener &openUrl, const DataRoot &root, Dialogs &dialogs);

} // namespace helpcommands
