#pragma once

#include "entry.h"

#include <QStringList>

class QTextDocument;

namespace diaryimport {

// Makes every image in [from, to) of the document a page picture when the
// entry holds its bytes, or its file, under its name; any other image becomes
// its alternative text or its name, so nothing is read from outside the
// entry. Why a picture file was refused is added to `refused`.
void embedPictures(QTextDocument &document, int from, int to, const Entry &entry, QStringList &refused);

} // namespace diaryimport
