#pragma once

#include <QString>

#include <functional>

class QTextDocument;
class QTextImageFormat;

// A page as Markdown: paragraphs separated by blank lines, bold, italic,
// strike-out and underline (as HTML, which Markdown has no mark for) kept,
// soft line breaks as hard breaks, a rule as a rule. Font sizes and colours
// are left out, so a large line stays a line of text and never becomes a heading.
namespace markdown {

// A picture as the Markdown shows it: its file, relative to the Markdown
// file, and the words a reader shows in its place. An empty target leaves
// the picture out.
struct LinkedPicture
{
    QString description;
    QString target;
};

using PictureLink = std::function<LinkedPicture(const QTextImageFormat &picture)>;

QString fromDocument(const QTextDocument &document, const PictureLink &link);

// A first-level heading line.
QString heading(const QString &title);

} // namespace markdown
