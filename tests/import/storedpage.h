#pragma once

#include "diary/dataroot.h"
#include "richtext/picture.h"

#include <QString>
#include <QTextCharFormat>
#include <QTextDocument>

#include <initializer_list>
#include <memory>
#include <vector>

// A day's stored page read back as the editor opens it, and what tests ask of it.
namespace storedpage {

// An empty document when the day has no page.
std::unique_ptr<QTextDocument> read(const DataRoot &root, const QString &dayKey);

// What text() shows for a drawn rule, at the end of its paragraph.
inline const QString kRule = QStringLiteral("[rule]");

// The page's text, one line per paragraph or line break.
QString text(const QTextDocument &page);

// The format of the first occurrence of `words`; a failure when it is missing.
QTextCharFormat formatOf(const QTextDocument &page, const QString &words);

// Pairs words with the marks of their first occurrence: b, i, u and s for
// bold, italic, underlined and struck out, in that order.
void expectMarks(const QTextDocument &page, std::initializer_list<std::pair<const char *, const char *>> marks);

std::vector<richtext::StoredPicture> pictures(const QTextDocument &page);

QString samplePath(const QString &relative);
QByteArray sampleBytes(const QString &relative);

} // namespace storedpage
