#pragma once

#include <QString>

#include <functional>

class QTextDocument;
class QTextImageFormat;

// A page as Markdown: paragraphs separated by blank lines, bold, italic,
// strike-out and underline (as HTML, which Markdown has no mark for) kept,
// soft line breaks as hard breaks. Font sizes and colours are left out, so a
// large line stays a line of text and never becomes a heading.
namespace markdown {

// Where the picture is written, relative to the Markdown file; an empty
// answer leaves the picture out.
using PictureLink = std::function<QString(const QTextImageFormat &picture)>;

QString fromDocument(const QTextDocument &document, const PictureLink &link);

// A first-level heading line.
QString heading(const QString &title);

} // namespace markdown
