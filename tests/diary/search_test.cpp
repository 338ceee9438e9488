#include "diary/codepage.h"
#include "diary/filelist.h"
#include "diary/scramble.h"
#include "diary/search.h"
#include "diary/storedbytes.h"
#include "vault/vault.h"

#include "diaryfixture.h"

#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <array>
#include <random>
#include <thread>

namespace {

class Search : public DiaryTest
{
protected:
    void page(const char *day, const QByteArray &rtf) const { DiaryTest::page(QDate::fromString(QString::fromLatin1(day), Qt::ISODate), rtf); }
    QStringList find(const QString &term) const { return searchPages(data.root().pagesDir(), sortedFileNames(data.root().pagesDir()), term); }
};

} // namespace

TEST_F(Search, FindsEachPageOnceInListOrder)
{
    page("2024-03-05", "{\\rtf1 went to the sea\\par\r\nthe sea was cold, the sea}");
    page("2023-01-01", "{\\rtf1 New Year by the sea}");
    page("2024-01-01", "{\\rtf1 \\b Sea\\b0  shells}");
    EXPECT_EQ(find(QStringLiteral("sea")), (QStringList{QStringLiteral("2023-01-01.dat"), QStringLiteral("2024-03-05.dat")}));
    EXPECT_EQ(find(QStringLiteral("Sea")), QStringList{QStringLiteral("2024-01-01.dat")});
    EXPECT_EQ(find(QStringLiteral("fonttbl")), QStringList());
    EXPECT_EQ(find(QStringLiteral("rtf1")).size(), 3);
    // A listed name with no file is passed over.
    EXPECT_EQ(searchPages(data.root().pagesDir(), {QStringLiteral("2024-03-04.dat"), QStringLiteral("2024-03-05.dat")}, u"went"),
              QStringList{QStringLiteral("2024-03-05.dat")});
}

TEST_F(Search, BoundaryTerms)
{
    page("2024-03-05", "{\\rtf1 a\r\nb}");
    page("2024-03-06", "{\\rtf1 s\\b ea\\b0 side}");
    data.writeFile(QStringLiteral("pages/2024-03-07.dat"), QByteArray());
    // An empty term finds every page holding a line, not the empty file.
    EXPECT_EQ(find(QString()).size(), 2);
    // Terms never match across lines or across a change of formatting, and a character that can never be stored finds nothing.
    for (const QString &term : {QStringLiteral("a\r\nb"), QStringLiteral("seaside"), QString(500, u'a'), QString::fromUtf8("ÿ"), QString::fromUtf8("Ω")})
        EXPECT_TRUE(find(term).isEmpty()) << term.toStdString();
}

TEST_F(Search, PassesOverFilesLargerThanAPageFile)
{
    QStringList names;
    for (const qint64 size : {pagestore::kLargestPageFile, pagestore::kLargestPageFile + 1}) {
        names.append(QStringLiteral("%1.dat").arg(size));
        data.writeFile(QStringLiteral("pages/") + names.last(), *ScrambleLine("harbour"));
        ASSERT_TRUE(QFile(data.root().pagesDir() + u'/' + names.last()).resize(size));
    }
    EXPECT_EQ(searchPages(data.root().pagesDir(), names, u"harbour"), names.mid(0, 1));
}

namespace {

// Each name on its own, one file at a time, as the search must find them.
QStringList oneByOne(const DataRoot &root, const QStringList &names, QStringView term)
{
    const auto bytes = codepage::encodeExact(term);
    const auto needle = bytes ? ScrambleLine(*bytes) : std::nullopt;
    QStringList found;
    for (const QString &name : names) {
        const QString path = root.pagesDir() + u'/' + name;
        const auto stored = storedbytes::read(root, path, pagestore::kLargestPageFile);
        if (needle && stored && QFileInfo(path).size() > 0 && stored->contains(*needle))
            found.append(name);
    }
    return found;
}

// A few hundred pages in an order no thread keeps by chance, among them names with no file, a folder,
// empty files, a page longer than a read buffer's first size and, sealed, a page sealed under another name.
QStringList generatedDiary(const TestDataRoot &data, const DataRoot &root)
{
    const std::array words{"harbour", "Anna", "rain", "snow", "train"};
    QStringList names{QStringLiteral("2024-folder.dat")};
    QDir(root.pagesDir()).mkdir(names.first());
    for (int day = 0; day < 400; ++day) {
        names.append(QStringLiteral("2024-%1.dat").arg(day, 3, 10, QLatin1Char('0')));
        const QByteArray text = day == 200 ? QByteArray(300000, 'x') + " harbour" : QByteArray(words[day % 5]) + ' ' + words[day % 7 % 5];
        const QString relative = QStringLiteral("pages/") + names.last();
        const QString sealedAs = root.vault() && day % 83 == 2 ? QStringLiteral("pages/x.dat") : relative;
        if (day % 97 != 5)
            data.writeFile(relative, day % 89 == 3 ? QByteArray() : *storedbytes::forDisk(root, *pagestore::encodePage("{\\rtf1 " + text + "\\par\r\n}"), sealedAs));
    }
    std::shuffle(names.begin(), names.end(), std::mt19937(7));
    return names;
}

} // namespace

TEST(SearchOnEveryCore, FindsWhatReadingOneFileAtATimeFinds)
{
    const auto vault = std::make_shared<Vault>(keyslot::newMasterKey(), KeySlot{});
    for (const bool sealed : {false, true}) {
        const TestDataRoot data;
        const DataRoot root(data.path(), sealed ? vault : nullptr);
        const QStringList names = generatedDiary(data, root);
        EXPECT_GT(oneByOne(root, names, u"harbour").size(), 50);
        for (const QString &term : {QStringLiteral("harbour"), QStringLiteral("Anna\\par"), QStringLiteral("snow train"), QString(),
                                    QStringLiteral("absent"), QString::fromUtf8("Ω")})
            EXPECT_EQ(searchPages(root.pagesDir(), names, term, root.vault()), oneByOne(root, names, term)) << term.toStdString() << sealed;
    }
}

TEST(SearchOnEveryCore, SharesOutEveryNameOnceAndStartsNoThreadForAFew)
{
    for (const qsizetype count : {0, 1, 63, 1000}) {
        QStringList names;
        for (qsizetype i = 0; i < count; ++i)
            names.append(QString::number(i));
        std::vector<std::atomic<int>> visits(static_cast<size_t>(count));
        std::atomic<int> otherThreads = 0;
        const QStringList odd = search::matching(names, [&, caller = std::this_thread::get_id()](search::Share &share) {
            otherThreads += std::this_thread::get_id() != caller;
            for (qsizetype i; (i = share.next()) >= 0;) {
                if (++visits[size_t(i)] == 1 && i % 2)
                    share.match();
            }
        });
        EXPECT_EQ(odd, names.filter(QRegularExpression(QStringLiteral("[13579]$")))) << count;
        EXPECT_TRUE(std::all_of(visits.begin(), visits.end(), [](const std::atomic<int> &v) { return v == 1; })) << count;
        EXPECT_EQ(otherThreads > 0, count >= 128 && QThread::idealThreadCount() > 1) << count;
    }
}
