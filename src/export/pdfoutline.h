#pragma once

#include "diary/outcome.h"

#include <QString>

#include <vector>

// Qt's PDF writer makes no outline, so one is added to the finished file.
namespace pdfoutline {

struct Bookmark
{
    QString title;
    int sheet = 0; // from 0
};

// Copies the PDF `from` to `to` with an outline of the bookmarks, each
// pointing at the top of its sheet, which a reader shows beside the pages.
Outcome copyWithOutline(const QString &from, const QString &to, const std::vector<Bookmark> &bookmarks);

} // namespace pdfoutline
