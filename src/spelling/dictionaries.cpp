#include "dictionaries.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace spelling {

QStringList standardFolders()
{
    QStringList folders;
    for (const QString &data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders.append(data + QStringLiteral("/hunspell"));
    if (!folders.contains(QStringLiteral("/usr/share/hunspell")))
        folders.append(QStringLiteral("/usr/share/hunspell"));
    return folders;
}

QList<Dictionary> installed(const QStringList &folders)
{
    QList<Dictionary> found;
    for (const QString &folder : folders) {
        const QDir dir(folder);
        for (const QFileInfo &affix : dir.entryInfoList({QStringLiteral("*.aff")}, QDir::Files | QDir::Readable)) {
            const QString name = affix.completeBaseName();
            const QFileInfo words(dir.filePath(name + QStringLiteral(".dic")));
            const bool known = std::any_of(found.cbegin(), found.cend(), [&](const Dictionary &d) { return d.name == name; });
            if (!known && words.isFile() && words.isReadable())
                found.append({name, affix.filePath(), words.filePath()});
        }
    }
    std::sort(found.begin(), found.end(), [](const Dictionary &a, const Dictionary &b) { return a.name < b.name; });
    return found;
}

std::optional<Dictionary> forLocale(const QList<Dictionary> &dictionaries, const QLocale &locale)
{
    const QString own = locale.name();
    const QString language = own.section(QLatin1Char('_'), 0, 0);
    const Dictionary *sameLanguage = nullptr;
    for (const Dictionary &dictionary : dictionaries) {
        if (dictionary.name == own)
            return dictionary;
        if (!sameLanguage && dictionary.name.section(QLatin1Char('_'), 0, 0) == language)
            sameLanguage = &dictionary;
    }
    if (sameLanguage)
        return *sameLanguage;
    // The C locale of a bare system names no language: a lone dictionary is surely the one wanted.
    if (locale.language() == QLocale::C && dictionaries.size() == 1)
        return dictionaries.first();
    return std::nullopt;
}

QString displayName(const Dictionary &dictionary)
{
    const QLocale locale(dictionary.name);
    if (locale.language() == QLocale::C)
        return dictionary.name;
    const QString language = QLocale::languageToString(locale.language());
    if (!dictionary.name.contains(QLatin1Char('_')))
        return language;
    return QStringLiteral("%1 (%2)").arg(language, QLocale::territoryToString(locale.territory()));
}

} // namespace spelling
