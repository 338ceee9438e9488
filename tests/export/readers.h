#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// What the export tests read back, mostly through the programs other people
// read an export with: pandoc, poppler-utils and qpdf.
namespace readers {

// The names of those among `programs` that are not installed.
QStringList missing(const QStringList &programs);
// The program's standard output, or nothing after failing the test.
std::optional<QString> output(const QString &program, const QStringList &arguments, const QByteArray &input = {});

// Markdown as pandoc's plain text, typography left as written.
QString markdownAsText(const QString &markdown, const QString &reader = QStringLiteral("markdown-smart"));
// Lines trimmed, spaces folded, empty lines dropped: what Markdown keeps of
// a text's layout, so texts compare by their words and line breaks.
QString folded(const QString &text);
// pdftotext's text of each sheet.
QStringList pdfSheets(const QString &path);
// Each picture pdfimages finds: its sheet, then its width and height in tenths of an inch.
QList<std::array<int, 3>> pdfPictures(const QString &path);

// Every name in the folder, hidden ones too, so a stray part file shows.
QStringList names(const QString &folder);

} // namespace readers
