#pragma once

#include "textsearch.h"

#include <QList>
#include <QTextCursor>

class QTextDocument;

namespace textsearch {

// A page with more matches than this shows only the first ones: marking every
// "e" of a long page would stall the window and show nothing useful.
inline constexpr qsizetype kMostMarkedMatches = 1000;

// Where the term shows in the document, in reading order and without overlaps:
// each of its words in the text-only search, else the whole term, letters
// compared as the options say. A match that lies only in the markup shows nowhere.
QList<QTextCursor> matchesIn(const QTextDocument &document, const QString &term, Options options);

} // namespace textsearch
