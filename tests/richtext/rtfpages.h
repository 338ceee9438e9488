#pragma once

#include <QByteArray>
#include <QString>
#include <QTextDocument>

#include <memory>
#include <vector>

// Pages as other writers make them, each with the text the reader shows of
// it (QTextDocument::toRawText(): U+2029 between paragraphs, U+FFFC for each
// picture). The reader's tests and the extractor's both read them.
namespace rtfpages {

struct Page
{
    const char *what;
    QByteArray rtf;
    QString shown;
};

std::vector<Page> foreignPages();

// Pages that find the reader's edges: what it skips, special characters,
// code pages and malformed input, each with what it shows.
std::vector<Page> edgePages();

// A floating picture as LibreOffice writes it, with no fallback: a 12 by 8
// pixel PNG in a shape of 1800 by 1200 twips.
QByteArray floatingPicturePage();

// A new document holding what the reader made of the page; reading must succeed.
std::unique_ptr<QTextDocument> read(QByteArrayView rtf);

} // namespace rtfpages
