#include "testdictionaries.h"

#include "spelling/service.h"
#include "spelling/words.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList names(const QList<spelling::Dictionary> &dictionaries)
{
    QStringList found;
    for (const spelling::Dictionary &dictionary : dictionaries)
        found.append(dictionary.name);
    return found;
}

QStringList wordsIn(const QString &text)
{
    QStringList found;
    for (const spelling::Word &word : spelling::wordsOf(text))
        found.append(text.mid(word.start, word.length));
    return found;
}

} // namespace

TestDictionaries::TestDictionaries()
{
    QDir(folder.path()).mkpath(QStringLiteral("mine"));
    QDir(folder.path()).mkpath(QStringLiteral("system"));
    write(folder.filePath(QStringLiteral("mine/fr_FR.aff")), "SET UTF-8\n");
    write(folder.filePath(QStringLiteral("mine/fr_FR.dic")), "3\nbonjour\nmerci\nété\n");
    write(folder.filePath(QStringLiteral("mine/de_DE.aff")), "SET UTF-8\n");
    write(folder.filePath(QStringLiteral("system/fr_FR.aff")), "SET UTF-8\n");
    write(folder.filePath(QStringLiteral("system/fr_FR.dic")), "1\nsalut\n");
    QFile::link(QStringLiteral("/usr/share/hunspell/en_US.aff"), folder.filePath(QStringLiteral("system/en_US.aff")));
    QFile::link(QStringLiteral("/usr/share/hunspell/en_US.dic"), folder.filePath(QStringLiteral("system/en_US.dic")));
    dictionaries = spelling::installed({folder.filePath(QStringLiteral("mine")), folder.filePath(QStringLiteral("system"))});
}

TEST(Spelling, DictionariesAreFoundOnceAndChosenByTheLocale)
{
    const TestDictionaries test;
    ASSERT_EQ(names(test.dictionaries), (QStringList{QStringLiteral("en_US"), QStringLiteral("fr_FR")})) << "de_DE has no word list";
    EXPECT_TRUE(test.dictionaries[1].wordsFile.contains(QStringLiteral("/mine/"))) << "the first folder wins";
    EXPECT_EQ(spelling::forLocale(test.dictionaries, QLocale(QStringLiteral("fr_CA")))->name, QStringLiteral("fr_FR"));
    EXPECT_EQ(spelling::forLocale(test.dictionaries, QLocale(QStringLiteral("en_US")))->name, QStringLiteral("en_US"));
    EXPECT_FALSE(spelling::forLocale(test.dictionaries, QLocale(QStringLiteral("de_DE"))));
    for (const QString &bare : {QStringLiteral("C"), QStringLiteral("POSIX")}) {
        EXPECT_EQ(spelling::forLocale({test.dictionaries[1]}, QLocale(bare)), test.dictionaries[1]) << bare.toStdString();
        EXPECT_FALSE(spelling::forLocale(test.dictionaries, QLocale(bare))) << "two leave the choice to the user";
    }
    EXPECT_EQ(spelling::displayName(test.dictionaries[0]), QStringLiteral("English (United States)"));

    EXPECT_EQ(wordsIn(QStringLiteral("Don't stop: the 3rd A4 page, été.")),
              (QStringList{QStringLiteral("Don't"), QStringLiteral("stop"), QStringLiteral("the"), QStringLiteral("page"), QStringLiteral("été")}));
}

TEST(Spelling, TheUsersOwnWordsLastAndIgnoredOnesOnlyWhileRunning)
{
    const TestDictionaries test;
    {
        spelling::Service service(test.personalWords(), test.dictionaries, QLocale(QStringLiteral("en_US")));
        EXPECT_EQ(service.language(), QStringLiteral("en_US"));
        EXPECT_TRUE(service.isMisspelt(QStringLiteral("helo")));
        EXPECT_FALSE(service.isMisspelt(QStringLiteral("hello")));
        EXPECT_FALSE(service.isMisspelt(QStringLiteral("don't")));
        const QStringList suggestions = service.suggestions(QStringLiteral("helo"));
        EXPECT_TRUE(suggestions.contains(QStringLiteral("hello")));
        EXPECT_LE(suggestions.size(), 5);

        EXPECT_TRUE(service.addToDictionary(QStringLiteral("Quillnest")));
        EXPECT_FALSE(service.isMisspelt(QStringLiteral("Quillnest")));
        service.ignore(QStringLiteral("Zorbl"));
        EXPECT_FALSE(service.isMisspelt(QStringLiteral("Zorbl")));
    }
    spelling::Service again(test.personalWords(), test.dictionaries, QLocale(QStringLiteral("en_US")));
    EXPECT_FALSE(again.isMisspelt(QStringLiteral("Quillnest")));
    EXPECT_TRUE(again.isMisspelt(QStringLiteral("Zorbl")));
    QFile words(test.personalWords());
    ASSERT_TRUE(words.open(QIODevice::ReadOnly));
    EXPECT_EQ(words.readAll(), "Quillnest\n");

    again.setLanguage(QStringLiteral("fr_FR"));
    EXPECT_TRUE(again.isMisspelt(QStringLiteral("hello")));
    EXPECT_FALSE(again.isMisspelt(QStringLiteral("été")));
    EXPECT_FALSE(again.isMisspelt(QStringLiteral("Quillnest"))) << "the user's words hold in every language";

    spelling::Service none(test.personalWords(), {}, QLocale(QStringLiteral("en_US")));
    EXPECT_FALSE(none.isMisspelt(QStringLiteral("helo"))) << "nothing is marked without a dictionary";
}
