#include "words.h"

#include <QTextBoundaryFinder>

#include <algorithm>

namespace spelling {

namespace {

bool isSpellable(QStringView word)
{
    const bool letter = std::any_of(word.begin(), word.end(), [](QChar c) { return c.isLetter(); });
    const bool digit = std::any_of(word.begin(), word.end(), [](QChar c) { return c.isDigit(); });
    return letter && !digit;
}

} // namespace

QList<Word> wordsOf(QStringView text)
{
    QList<Word> words;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text.data(), int(text.size()));
    qsizetype start = 0;
    while (finder.toNextBoundary() >= 0) {
        const qsizetype end = finder.position();
        if (isSpellable(text.mid(start, end - start)))
            words.append({start, end - start});
        start = end;
    }
    return words;
}

} // namespace spelling
