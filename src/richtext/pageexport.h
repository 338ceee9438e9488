#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

// A page in forms any program reads.
namespace richtext {

// The page's characters, one line per paragraph or line break, no pictures.
QString plainText(const QTextDocument &document);

// The page as Qt renders it, in UTF-8, every picture inside the file as a data URL.
QByteArray htmlWithPictures(const QTextDocument &document);

} // namespace richtext
