#pragma once

#include "diary/dataroot.h"

#include <QString>
#include <QStringList>

// The search with its two choices. As shipped (match case, look in the
// markup) it is the stored-markup search exactly; the text-only search looks
// at what the page shows, and there the words of the term, separated by
// spaces, must all be on the page. Without match case letters compare by
// Unicode case folding, so "ÉTÉ" finds "été".
namespace textsearch {

struct Options
{
    bool matchCase = true;
    bool textOnly = false;
};

// The pages among names (file names in the pages folder) that match, in the order of names.
QStringList search(const DataRoot &root, const QStringList &names, const QString &term, Options options);

// The line of the page's visible text around the first match, trimmed; empty
// when the match lies in the markup only.
QString context(const DataRoot &root, const QString &name, const QString &term, Options options);

} // namespace textsearch
