#pragma once

#include "textcache.h"

#include "diary/dataroot.h"

#include <QString>
#include <QStringList>

// The search with its two choices. As shipped (match case, look in the
// markup) it is the stored-markup search exactly; the text-only search looks
// at what the page shows, and there the words of the term, separated by
// spaces, must all be on the page. Without match case letters compare by
// Unicode case folding, so "ÉTÉ" finds "été". A term that is one "#tag"
// alone, whatever the choices, finds the pages carrying that tag, in any case.
namespace textsearch {

struct Options
{
    bool matchCase = true;
    bool textOnly = false;
};

// The pages among names (file names in the pages folder) that match, in the
// order of names. A text-only search takes each page's text from the cache
// when it has it and fills it when not; the markup is never cached, as it
// holds the pictures' bytes. unopened, when given, receives the pages that
// could not be read or opened; unsealed, the pages a markup search that
// matches case read and found unsealed (searchPages), else nothing.
QStringList search(const DataRoot &root, const QStringList &names, const QString &term, Options options,
                   TextCache *cache = nullptr, QStringList *unopened = nullptr, QStringList *unsealed = nullptr);

// The line of the page's visible text around the first match, trimmed; empty
// when the match lies in the markup only.
QString context(const DataRoot &root, const QString &name, const QString &term, Options options,
                TextCache *cache = nullptr);

} // namespace textsearch
