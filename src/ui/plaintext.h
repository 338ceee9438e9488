#pragma once

#include <QString>

// Qt guesses from a tool tip's text whether it is rich text, so a page's line
// or a file's name that looks like markup would be drawn as markup, and an
// <img> in it would make Qt load whatever file it names. Such a text is
// escaped into a tip of its own; any other is left as it is.
QString plainToolTip(const QString &text);
