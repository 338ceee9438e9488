#pragma once

class QWidget;

// Shows a top-level window; the first time, shrunk to its screen's available
// area where it is larger, and centred over `over` (the screen's middle
// without one), wholly on that area.
void showOnScreen(QWidget &window, const QWidget *over);
