#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

class QTextDocument;

namespace diaryimport {

// Makes every image in [from, to) of the document a page picture when
// `pictures` holds its bytes under its name; any other image becomes its
// alternative text or its name, so nothing is read from outside the entry.
void embedPictures(QTextDocument &document, int from, int to, const QHash<QString, QByteArray> &pictures);

} // namespace diaryimport
