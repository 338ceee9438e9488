#include "clipboardpaste.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTextEdit>

namespace picture {

bool pasteThroughClipboard(const QImage &picture, QTextEdit &editor)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    auto *data = new QMimeData;
    data->setImageData(picture);
    clipboard->setMimeData(data);
    // The window system may refuse us the clipboard; what it holds then is
    // someone else's, and pasting it would put a stranger's data in the page.
    if (clipboard->mimeData() != data)
        return false;
    editor.paste();
    return true;
}

} // namespace picture
