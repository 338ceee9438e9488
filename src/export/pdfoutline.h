#pragma once

#include "diary/outcome.h"

#include <QString>

#include <vector>

class PartFile;

// Qt's PDF writer makes no outline, so one is added to the finished file.
namespace pdfoutline {

struct Bookmark
{
    QString title;
    int sheet = 0; // from 0
};

// Appends to the PDF in `file` an outline of the bookmarks, each pointing at
// the top of its sheet, which a reader shows beside the pages. The drawn
// file stays as it is and an incremental update follows it, so only the
// outline, never the drawn pages, is held in memory.
Outcome appendOutline(PartFile &file, const std::vector<Bookmark> &bookmarks);

} // namespace pdfoutline
