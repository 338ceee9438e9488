#include "service.h"

#include "speller.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace spelling {

namespace {

constexpr int kMostSuggestions = 5;

} // namespace

Service::Service(QString personalWordsFile, const QList<Dictionary> &dictionaries, const QLocale &locale, QObject *parent)
    : QObject(parent), m_personalWordsFile(std::move(personalWordsFile)), m_dictionaries(dictionaries)
{
    loadPersonalWords();
    if (const auto chosen = forLocale(m_dictionaries, locale))
        setLanguage(chosen->name);
}

Service::~Service() = default;

QString Service::defaultPersonalWordsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/quillnest/words.txt");
}

QString Service::language() const
{
    return m_speller ? m_speller->dictionary().name : QString();
}

void Service::setLanguage(const QString &name)
{
    for (const Dictionary &dictionary : std::as_const(m_dictionaries)) {
        if (dictionary.name != name)
            continue;
        m_speller = Speller::open(dictionary);
        if (m_speller) {
            for (const QString &word : std::as_const(m_personalWords))
                m_speller->accept(word);
        }
        emit changed();
        return;
    }
}

bool Service::isMisspelt(const QString &word) const
{
    return m_speller && !m_ignored.contains(word) && !m_speller->isCorrect(word);
}

QStringList Service::suggestions(const QString &word) const
{
    return m_speller ? m_speller->suggestions(word, kMostSuggestions) : QStringList();
}

void Service::loadPersonalWords()
{
    QFile file(m_personalWordsFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (const QString word = line.trimmed(); !word.isEmpty() && !m_personalWords.contains(word))
            m_personalWords.append(word);
    }
}

Outcome Service::addToDictionary(const QString &word)
{
    if (m_personalWords.contains(word))
        return Outcome::success();
    QDir().mkpath(QFileInfo(m_personalWordsFile).path());
    QSaveFile file(m_personalWordsFile);
    if (!file.open(QIODevice::WriteOnly))
        return Outcome::failure(file.errorString());
    QStringList words = m_personalWords;
    words.append(word);
    words.sort();
    file.write(words.join(QLatin1Char('\n')).toUtf8() + '\n');
    if (!file.commit())
        return Outcome::failure(file.errorString());
    m_personalWords = words;
    if (m_speller)
        m_speller->accept(word);
    emit changed();
    return Outcome::success();
}

void Service::ignore(const QString &word)
{
    m_ignored.insert(word);
    emit changed();
}

} // namespace spelling
