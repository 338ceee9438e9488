#include "selectionformat.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace richtext {

QList<QTextCharFormat> selectionFormats(const QTextCursor &cursor)
{
    if (!cursor.hasSelection())
        return {cursor.charFormat()};
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    QList<QTextCharFormat> formats;
    for (QTextBlock block = cursor.document()->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() < end && fragment.position() + fragment.length() > start)
                formats.append(fragment.charFormat());
        }
    }
    if (formats.isEmpty())
        formats.append(cursor.charFormat());
    return formats;
}

} // namespace richtext
