#pragma once

#include "dictionaries.h"
#include "diary/outcome.h"

#include <QObject>
#include <QSet>
#include <QStringList>

#include <memory>

namespace spelling {

class Speller;

// The spelling every editor of the program shares: the language, the user's
// own words, kept in a file of the configuration folder (never the diary's),
// and the words ignored until the program ends. The language the user picks
// is kept in quillnest.conf beside the words, for the next start.
class Service : public QObject
{
    Q_OBJECT

public:
    // The language is the one the user picked last, else the locale's, else,
    // under the C locale that says no language, the only one installed.
    Service(QString personalWordsFile, const QList<Dictionary> &dictionaries = installed(),
            const QLocale &locale = QLocale::system(), QObject *parent = nullptr);
    ~Service() override;

    // ~/.config/quillnest/words.txt, or where XDG_CONFIG_HOME says.
    static QString defaultPersonalWordsFile();
    // quillnest.conf beside it, which keeps the program's other choices too.
    static QString defaultSettingsFile();

    const QList<Dictionary> &dictionaries() const { return m_dictionaries; }
    // Empty when no dictionary is in use.
    QString language() const;
    // The user's pick, kept for the next start.
    void setLanguage(const QString &name);

    // A word of letters that neither the dictionary, the user's words nor the
    // ignored ones hold. Nothing is misspelt without a dictionary.
    bool isMisspelt(const QString &word) const;
    QStringList suggestions(const QString &word) const;
    Outcome addToDictionary(const QString &word);
    void ignore(const QString &word);
    // A locked diary's words must not stay behind in the ignored ones.
    void forgetIgnored();

signals:
    // The language or the words changed: every mark must be looked at again.
    void changed();

private:
    bool use(const QString &name);
    void loadPersonalWords();
    QString settingsFile() const;

    QString m_personalWordsFile;
    QList<Dictionary> m_dictionaries;
    std::unique_ptr<Speller> m_speller;
    QStringList m_personalWords;
    QSet<QString> m_ignored;
};

} // namespace spelling
