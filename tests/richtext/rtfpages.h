#pragma once

#include <QByteArray>
#include <QString>
#include <QTextDocument>
#include <QTextFormat>

#include <memory>
#include <vector>

// Pages kept under data/: pages/ as other writers and the reader's edges make
// them, each with the text the reader shows of it in shown.json
// (QTextDocument::toRawText(): U+2029 between paragraphs, U+FFFC for each
// picture), and edges/ that only the extractor's agreement with the reader
// and the reader's own bounds judge. Beside them: bitmaps/, one Windows
// bitmap form of testpictures::drawing() each; every-attribute.html and .rtf,
// a page with every attribute and what the writer makes of it; looks.json,
// how words and paragraphs of some pages look; soup.json, the pieces
// generated pages are shuffled from.
namespace rtfpages {

struct Page
{
    QString name;
    QByteArray rtf;
    QString shown;
};

// A file under data/, or anywhere when the path is absolute.
QByteArray file(const QString &path);

// Every page in data/pages with its shown text, and those too large to keep
// as files: a 64 MiB picture and groups nested a hundred thousand deep.
std::vector<Page> shownPages();

// Every page in data/edges, with no shown text.
std::vector<Page> edgePages();

// The pictures in the document, in reading order, and the stored bytes of the first.
QList<QTextImageFormat> images(const QTextDocument &document);
QByteArray storedBytes(const QTextDocument &document);

// The document's one picture is shown at size (when given) and stored as a
// PNG of testpictures::drawing().
void expectDrawing(const QTextDocument &document, QSizeF size = {});

// A new document holding what the reader made of the page; reading must succeed.
std::unique_ptr<QTextDocument> read(QByteArrayView rtf);

} // namespace rtfpages
