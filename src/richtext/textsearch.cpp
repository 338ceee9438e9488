#include "textsearch.h"

#include "rtftext.h"

#include "diary/codepage.h"
#include "diary/pagestore.h"
#include "diary/search.h"

namespace textsearch {

namespace {

constexpr qsizetype kLongestContext = 200;

QString comparable(const QString &text, Options options)
{
    return options.matchCase ? text : text.toCaseFolded();
}

QStringList wordsOf(const QString &term, Options options)
{
    if (!options.textOnly)
        return {comparable(term, options)};
    return comparable(term, options).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// What a page offers to the search: its markup as stored, or the text it shows.
std::optional<QString> searchedText(const DataRoot &root, const QString &name, Options options)
{
    const auto rtf = pagestore::loadFile(root, root.pagesDir() + QLatin1Char('/') + name);
    if (!rtf)
        return std::nullopt;
    return comparable(options.textOnly ? richtext::visibleText(*rtf) : codepage::decode(*rtf), options);
}

bool holdsAll(const QString &text, const QStringList &words)
{
    for (const QString &word : words) {
        if (!text.contains(word))
            return false;
    }
    return true;
}

} // namespace

QStringList search(const DataRoot &root, const QStringList &names, const QString &term, Options options)
{
    if (options.matchCase && !options.textOnly)
        return searchPages(root.pagesDir(), names, term, root.vault());
    const QStringList words = wordsOf(term, options);
    if (words.isEmpty())
        return {};
    QStringList matches;
    for (const QString &name : names) {
        const auto text = searchedText(root, name, options);
        if (text && holdsAll(*text, words))
            matches.append(name);
    }
    return matches;
}

QString context(const DataRoot &root, const QString &name, const QString &term, Options options)
{
    const QStringList words = wordsOf(term, options);
    const auto rtf = pagestore::loadFile(root, root.pagesDir() + QLatin1Char('/') + name);
    if (words.isEmpty() || !rtf)
        return {};
    const QString shown = richtext::visibleText(*rtf);
    // Folding never adds or removes a line break, so line i of the folded
    // text is line i of the shown one.
    const QStringList folded = comparable(shown, options).split(QLatin1Char('\n'));
    const QStringList lines = shown.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < folded.size() && i < lines.size(); ++i) {
        if (folded[i].contains(words.first()))
            return lines[i].trimmed().left(kLongestContext);
    }
    return {};
}

} // namespace textsearch
