#pragma once

#include "copymerge.h"

#include <QByteArray>
#include <QDate>
#include <QSet>
#include <QStringList>

#include <memory>

#include <optional>

class DataRoot;

// A page as a list of its paragraphs, each written as a page of its own, so
// that a paragraph two versions of a page share compares equal whatever
// fonts and colours the rest of each page uses, and a merged list is a page
// again with every paragraph's formatting and pictures.
namespace pageparagraphs {

// Paragraphs a merge's versions share, each held once.
using Pool = QSet<QString>;

// Nothing when the page is too large to read. A paragraph the pool holds is taken from it.
std::optional<QStringList> split(QByteArrayView rtf, Pool *pool = nullptr);
QByteArray join(const QStringList &paragraphs);

// The versions read share the pool, one of their own unless one is given.
copymerge::Lines pageLines(const DataRoot &root, QDate day, std::shared_ptr<Pool> pool = {});

} // namespace pageparagraphs
