#include "textsearch.h"

#include "diaryfigures.h"


#include "diary/codepage.h"
#include "diary/pagestore.h"
#include "diary/search.h"

#include <algorithm>
#include <vector>

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

QString pagePath(const DataRoot &root, const QString &name)
{
    return root.pagesDir() + QLatin1Char('/') + name;
}

// The text the page shows and, unless case matters, its folded form.
std::optional<TextCache::Texts> searchedTexts(const DataRoot &root, const QString &name, Options options, TextCache *cache)
{
    return textsearch::pageTexts(root, name, cache, [&](TextCache::Texts &texts) {
        if (options.matchCase || texts.folded)
            return false;
        texts.folded = texts.shown.folded();
        return true;
    });
}

bool holdsAll(const CompactText &text, const std::vector<Word> &words)
{
    return std::all_of(words.cbegin(), words.cend(), [&](const Word &word) { return text.contains(word); });
}

// Both nothing when the page does not open.
std::optional<bool> markupHolds(const DataRoot &root, const QString &name, const QString &word, Options options)
{
    const auto rtf = pagestore::loadFile(root, pagePath(root, name));
    if (!rtf)
        return std::nullopt;
    return comparable(codepage::decode(*rtf), options).contains(word);
}

std::optional<bool> textHolds(const DataRoot &root, const QString &name, const std::vector<Word> &words, Options options,
                              TextCache *cache)
{
    const auto texts = searchedTexts(root, name, options, cache);
    if (!texts)
        return std::nullopt;
    return holdsAll(options.matchCase ? texts->shown : *texts->folded, words);
}

// The tag a term names when it is one "#tag" alone.
std::optional<QString> tagOf(const QString &term)
{
    const QString trimmed = term.trimmed();
    const QStringList tags = diaryfigures::tagsIn(trimmed);
    if (tags.size() != 1 || trimmed != QLatin1Char('#') + tags.first())
        return std::nullopt;
    return tags.first();
}

QStringList tagged(const DataRoot &root, const QStringList &names, const QString &tag, TextCache *cache, QStringList *unopened)
{
    return search::matching(names, [&](search::Share &share) {
        for (qsizetype i; (i = share.next()) >= 0;) {
            const auto figures = diaryfigures::pageFigures(root, names[i], cache);
            if (!figures)
                share.unopened();
            else if (std::ranges::any_of(figures->tags, [&](const QString &kept) { return kept.compare(tag, Qt::CaseInsensitive) == 0; }))
                share.match();
        }
    }, unopened);
}

} // namespace

QStringList search(const DataRoot &root, const QStringList &names, const QString &term, Options options, TextCache *cache,
                   QStringList *unopened, QStringList *unsealed)
{
    if (const auto tag = tagOf(term))
        return tagged(root, names, *tag, cache, unopened);
    if (options.matchCase && !options.textOnly)
        return searchPages(root.pagesDir(), names, term, root.vault(), unopened, unsealed);
    const QStringList wordList = wordsOf(term, options);
    if (wordList.isEmpty())
        return {};
    const std::vector<Word> words(wordList.cbegin(), wordList.cend());
    return search::matching(names, [&](search::Share &share) {
        for (qsizetype i; (i = share.next()) >= 0;) {
            const auto holds = options.textOnly ? textHolds(root, names[i], words, options, cache)
                                                : markupHolds(root, names[i], wordList.first(), options);
            if (!holds)
                share.unopened();
            else if (*holds)
                share.match();
        }
    }, unopened);
}

QString context(const DataRoot &root, const QString &name, const QString &term, Options options, TextCache *cache)
{
    // A tag is found whatever its case, so its line is looked for the same way.
    if (tagOf(term))
        options = {false, true};
    const QStringList words = wordsOf(term, options);
    const auto texts = words.isEmpty() ? std::nullopt : searchedTexts(root, name, options, cache);
    if (!texts)
        return {};
    const QString shown = texts->shown.toString();
    // Folding never adds or removes a line break, so line i of the folded
    // text is line i of the shown one.
    const QStringList folded = (options.matchCase ? shown : texts->folded->toString()).split(QLatin1Char('\n'));
    const QStringList lines = shown.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < folded.size() && i < lines.size(); ++i) {
        if (folded[i].contains(words.first()))
            return lines[i].trimmed().left(kLongestContext);
    }
    return {};
}

} // namespace textsearch
