#pragma once

#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>

// What poppler-utils read from a PDF file: its page count, the text of
// each page, one entry a page, lines separated by '\n', and its pictures.
int pdfPageCount(const QString &path);
QStringList pdfPageTexts(const QString &path);

struct PdfPicture
{
    int page = 0;
    // Drawn on the page, in inches.
    QSizeF inches;
};
QList<PdfPicture> pdfPictures(const QString &path);
