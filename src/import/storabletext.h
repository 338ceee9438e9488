#pragma once

#include <QtGlobal>

class QTextDocument;

namespace diaryimport {

// The page's text size when the default font has none, as the RTF writer takes it.
inline constexpr qreal kPagePoints = 12;

// Gives the document's default font the page's text size when it has none,
// as without a windowing system, where Qt's Markdown and HTML readers warn
// about a font without a size on every text they read.
void sizeDefaultFont(QTextDocument &document);

// Turns what Qt's Markdown and HTML readers make, but a page's RTF does not
// keep, into what it does: list items get their bullet or number as text
// and their indent as a margin, a link shows its address after its label,
// and headings and <big>/<small> get point sizes.
void makeStorable(QTextDocument &document);

} // namespace diaryimport
