#pragma once

#include <QByteArray>
#include <QString>

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

// A floating picture as LibreOffice writes it, with no fallback: a 12 by 8
// pixel PNG in a shape of 1800 by 1200 twips.
QByteArray floatingPicturePage();

} // namespace rtfpages
