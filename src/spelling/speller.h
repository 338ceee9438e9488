#pragma once

#include "dictionaries.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

struct Hunhandle;

namespace spelling {

// One Hunspell dictionary, asked in the dictionary's own encoding. Answers
// are remembered, since a page repeats most of its words.
class Speller
{
public:
    // Nothing when Hunspell cannot read the dictionary or names an encoding Qt lacks.
    static std::unique_ptr<Speller> open(const Dictionary &dictionary);
    ~Speller();
    Speller(const Speller &) = delete;
    Speller &operator=(const Speller &) = delete;

    const Dictionary &dictionary() const { return m_dictionary; }
    bool isCorrect(const QString &word) const;
    // At most `most`, the likeliest first.
    QStringList suggestions(const QString &word, int most = 5) const;
    // Correct from now on, for as long as this speller lives.
    void accept(const QString &word);

private:
    Speller(const Dictionary &dictionary, Hunhandle *handle, QByteArray encoding);
    std::optional<QByteArray> encoded(const QString &word) const;

    Dictionary m_dictionary;
    Hunhandle *m_handle;
    QByteArray m_encoding;
    mutable QHash<QString, bool> m_known;
};

} // namespace spelling
