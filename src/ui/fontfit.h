#pragma once

class QWidget;

// Shrinks a control's font, half a point at a time down to `smallest`, until
// the control shows whole across its width.
void shrinkFontToFit(QWidget &control, double smallest);
