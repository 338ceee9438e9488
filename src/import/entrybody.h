#pragma once

#include "entry.h"

class QTextDocument;

namespace diaryimport {

// The entry's text as formatting, read by Qt's own Markdown or HTML reader,
// in the forms a page's RTF keeps. Its images still carry the names the
// text gave them: embedPictures makes them pictures once they are on a page.
void readEntryBody(const Entry &entry, QTextDocument &body);

} // namespace diaryimport
