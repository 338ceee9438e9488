#include "service.h"

#include "speller.h"
#include "vault/wipe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

namespace spelling {

namespace {

constexpr int kMostSuggestions = 5;
const QString kLanguageKey = QStringLiteral("spelling/language");

} // namespace

Service::Service(QString personalWordsFile, const QList<Dictionary> &dictionaries, const QLocale &locale, QObject *parent)
    : QObject(parent), m_personalWordsFile(std::move(personalWordsFile)), m_dictionaries(dictionaries)
{
    loadPersonalWords();
    const QString picked = QSettings(settingsFile(), QSettings::IniFormat).value(kLanguageKey).toString();
    if (use(picked))
        return;
    if (const auto chosen = forLocale(m_dictionaries, locale))
        use(chosen->name);
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

QString Service::defaultSettingsFile()
{
    return QFileInfo(defaultPersonalWordsFile()).dir().filePath(QStringLiteral("quillnest.conf"));
}

QString Service::settingsFile() const
{
    return QFileInfo(m_personalWordsFile).dir().filePath(QStringLiteral("quillnest.conf"));
}

void Service::setLanguage(const QString &name)
{
    if (!use(name))
        return;
    QSettings settings(settingsFile(), QSettings::IniFormat);
    settings.setValue(kLanguageKey, name);
}

// A dictionary that cannot be read leaves the language as it was.
bool Service::use(const QString &name)
{
    const auto dictionary = std::find_if(m_dictionaries.cbegin(), m_dictionaries.cend(), [&](const Dictionary &d) { return d.name == name; });
    if (dictionary == m_dictionaries.cend())
        return false;
    auto speller = Speller::open(*dictionary);
    if (!speller)
        return false;
    for (const QString &word : std::as_const(m_personalWords))
        speller->accept(word);
    m_speller = std::move(speller);
    emit changed();
    return true;
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

void Service::forgetIgnored()
{
    if (m_ignored.isEmpty())
        return;
    QStringList words = m_ignored.values();
    m_ignored.clear();
    for (QString &word : words)
        wipe(word);
    emit changed();
}

} // namespace spelling
