#pragma once

#include "diary/dataroot.h"
#include "diary/outcome.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The pages of a range of days written as files other programs read.
namespace rangeexport {

enum class Format { Markdown, Pdf };

std::optional<Format> formatNamed(const QString &name); // "md", "pdf"

// The Markdown of a whole range in one file, inside Request::out.
inline const QString kOneFileName = QStringLiteral("diary.md");

struct Request
{
    Format format = Format::Pdf;
    // Inclusive; a null date leaves that end open.
    QDate from;
    QDate to;
    // Markdown: a folder, given one yyyy-mm-dd.md a page, or one file for
    // the whole range when `oneFile`; pictures go into its images/ folder.
    // PDF: the document's file.
    QString out;
    bool oneFile = false;
};

// (pages done, pages in the range); false stops the export.
using Progress = std::function<bool(int done, int total)>;

// Reads one page at a time, so a long range never holds every page. A page
// that cannot be read is left out and the rest exported; the export then
// fails naming those pages and, when nothing else failed, gives their day
// keys in leftOut.
Outcome exportRange(const DataRoot &root, const Request &request, const Progress &progress = {}, QStringList *leftOut = nullptr);

} // namespace rangeexport
