#pragma once

class QTextBrowser;
class QUrl;
class QWidget;

// The help page in a window of the program's own, for a desktop with nothing
// to hand it to, or a diary folder without its help page. One window: asking
// again brings it to the front. It opens centred over parent, or the screen
// while parent is hidden, and its pictures never grow wider than it is.
QTextBrowser *showHelpWindow(const QUrl &page, QWidget *parent);
