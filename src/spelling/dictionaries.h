#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

// The Hunspell dictionaries the system has installed.
namespace spelling {

struct Dictionary
{
    QString name; // the locale it is for, as "en_US"
    QString affixFile;
    QString wordsFile;

    friend bool operator==(const Dictionary &, const Dictionary &) = default;
};

// Where Debian and the desktop keep Hunspell dictionaries, most personal first.
QStringList standardFolders();

// Every name.aff beside its name.dic in the folders, sorted by name; a name
// found in two folders is taken from the first.
QList<Dictionary> installed(const QStringList &folders = standardFolders());

// The dictionary of the locale itself, else one of its language (en_GB for
// en_AU), else under the C locale the only one installed, else none.
std::optional<Dictionary> forLocale(const QList<Dictionary> &dictionaries, const QLocale &locale);

// "English (United States)", or the name itself when no locale knows it.
QString displayName(const Dictionary &dictionary);

} // namespace spelling
