#pragma once

class QString;
class QTextBrowser;
class QWidget;

// The help page in a window of the program's own, for a desktop with nothing
// to hand it to. One window: asking again brings it to the front.
QTextBrowser *showHelpWindow(const QString &page, QWidget *parent);
