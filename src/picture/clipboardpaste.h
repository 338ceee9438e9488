#pragma once

class QImage;
class QTextEdit;

namespace picture {

// Puts the picture on the system clipboard, where it stays, and has the
// editor paste it at its caret. False, with nothing pasted, when the
// clipboard would not take it.
bool pasteThroughClipboard(const QImage &picture, QTextEdit &editor);

} // namespace picture
