#include "speller.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <hunspell.h>

namespace spelling {

namespace {

// Hunspell names Latin-1 its own way; Qt knows the others by their names.
QByteArray encodingOf(Hunhandle *handle)
{
    const QByteArray name = QByteArray(Hunspell_get_dic_encoding(handle)).trimmed();
    return name.compare("ISO8859-1", Qt::CaseInsensitive) == 0 ? QByteArrayLiteral("ISO-8859-1") : name;
}

} // namespace

std::unique_ptr<Speller> Speller::open(const Dictionary &dictionary)
{
    // Hunspell reports no error for a file it cannot read: it just knows no words.
    if (!QFile::exists(dictionary.affixFile) || !QFile::exists(dictionary.wordsFile))
        return nullptr;
    Hunhandle *handle = Hunspell_create(QFile::encodeName(dictionary.affixFile).constData(),
                                        QFile::encodeName(dictionary.wordsFile).constData());
    if (!handle)
        return nullptr;
    const QByteArray encoding = encodingOf(handle);
    if (!QStringEncoder(encoding.constData()).isValid()) {
        Hunspell_destroy(handle);
        return nullptr;
    }
    return std::unique_ptr<Speller>(new Speller(dictionary, handle, encoding));
}

Speller::Speller(const Dictionary &dictionary, Hunhandle *handle, QByteArray encoding)
    : m_dictionary(dictionary), m_handle(handle), m_encoding(std::move(encoding))
{
}

Speller::~Speller()
{
    Hunspell_destroy(m_handle);
}

std::optional<QByteArray> Speller::encoded(const QString &word) const
{
    QStringEncoder encoder(m_encoding.constData());
    QByteArray bytes = encoder.encode(word);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

bool Speller::isCorrect(const QString &word) const
{
    if (const auto known = m_known.constFind(word); known != m_known.cend())
        return *known;
    // A word the dictionary's encoding cannot hold is none of its words, but
    // marking every such word would only say the dictionary is the wrong one.
    const auto bytes = encoded(word);
    const bool correct = !bytes || Hunspell_spell(m_handle, bytes->constData()) != 0;
    m_known.insert(word, correct);
    return correct;
}

QStringList Speller::suggestions(const QString &word, int most) const
{
    const auto bytes = encoded(word);
    if (!bytes)
        return {};
    char **list = nullptr;
    const int count = Hunspell_suggest(m_handle, &list, bytes->constData());
    QStringList found;
    for (int i = 0; i < count && found.size() < most; ++i)
        found.append(QStringDecoder(m_encoding.constData()).decode(QByteArrayView(list[i])));
    Hunspell_free_list(m_handle, &list, count);
    return found;
}

void Speller::accept(const QString &word)
{
    if (const auto bytes = encoded(word))
        Hunspell_add(m_handle, bytes->constData());
    m_known.insert(word, true);
}

} // namespace spelling
