#pragma once

#include <QString>
#include <QStringList>

// What poppler-utils read from a PDF file: its page count, and the text of
// each page, one entry a page, lines separated by '\n'.
int pdfPageCount(const QString &path);
QStringList pdfPageTexts(const QString &path);
