#pragma once

#include "copymerge.h"

#include <QByteArray>
#include <QDate>
#include <QStringList>

#include <optional>

class DataRoot;

// A page as a list of its paragraphs, each written as a page of its own, so
// that a paragraph two versions of a page share compares equal whatever
// fonts and colours the rest of each page uses, and a merged list is a page
// again with every paragraph's formatting and pictures.
namespace pageparagraphs {

// Nothing when the page is too large to read.
std::optional<QStringList> split(QByteArrayView rtf);
QByteArray join(const QStringList &paragraphs);

copymerge::Lines pageLines(const DataRoot &root, QDate day);

} // namespace pageparagraphs
