#pragma once

#include "entry.h"

class QString;
class QTextDocument;

namespace diaryimport {

// The entry's text as formatting, read by Qt's own Markdown or HTML reader,
// in the forms a page's RTF keeps. Its images still carry the names the
// text gave them: embedPictures makes them pictures once they are on a page.
void readEntryBody(const Entry &entry, QTextDocument &body);

// Markdown as GitHub reads it, where _a word_ is emphasis as *a word* is.
void setMarkdown(QTextDocument &document, const QString &markdown);

} // namespace diaryimport
