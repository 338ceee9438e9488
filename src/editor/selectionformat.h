#pragma once

#include <QList>
#include <QTextCharFormat>

class QTextCursor;

namespace richtext {

// The character formats a selection covers, or the format text typed at the
// insertion point would take.
QList<QTextCharFormat> selectionFormats(const QTextCursor &cursor);

} // namespace richtext
