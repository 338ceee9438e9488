#pragma once

#include <QList>
#include <QStringView>

namespace spelling {

struct Word
{
    qsizetype start = 0;
    qsizetype length = 0;
};

// The words of a line of text a speller should look at, by Unicode's word
// boundaries: runs with a letter in them and no digit ("don't" is one word,
// "3rd" and "A4" are none).
QList<Word> wordsOf(QStringView text);

} // namespace spelling
