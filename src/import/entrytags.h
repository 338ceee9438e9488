#pragma once

#include <QString>
#include <QStringList>

// The tags another diary kept beside an entry, as the #tags a page writes.
namespace diaryimport {

// The name as a tag, without its "#": runs of spaces become one "-" and what
// a tag cannot hold (anything but letters, digits, marks, "-" and "_") is
// dropped. Empty when no letter or digit is left.
QString tagOf(const QString &name);

// "#a #b" of the names made tags, each once whatever its case, leaving out
// those the entry's text already writes as a #tag.
QString tagLine(const QStringList &names, const QString &text);

} // namespace diaryimport
