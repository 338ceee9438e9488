#include "diary/filelist.h"
#include "diary/scramble.h"
#include "diary/search.h"

#include "diaryfixture.h"

#include <QRegularExpression>
#include <QThread>

#include <algorithm>
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

// Terms never match across lines or across a change of formatting, a character that can never be stored
// finds nothing, and an empty term finds every page holding a line.
TEST_F(Search, FindsEachPageOnceInListOrderAndNothingAcrossLinesOrFormatting)
{
    page("2024-03-05", "{\\rtf1 went to the sea\\par\r\nthe sea was cold, the sea}");
    page("2023-01-01", "{\\rtf1 New Year by the sea}");
    page("2024-01-01", "{\\rtf1 \\b Sea\\b0  shells}");
    page("2024-03-06", "{\\rtf1 s\\b ea\\b0 side}");
    data.writeFile(QStringLiteral("pages/2024-03-07.dat"), QByteArray());
    const QStringList every{"2023-01-01.dat", "2024-01-01.dat", "2024-03-05.dat", "2024-03-06.dat"};
    const std::pair<QString, QStringList> cases[] = {
        {QStringLiteral("sea"), {"2023-01-01.dat", "2024-03-05.dat"}},
        {QStringLiteral("Sea"), {"2024-01-01.dat"}},
        {QStringLiteral("rtf1"), every},
        {QString(), every},
        {QStringLiteral("fonttbl"), {}},
        {QStringLiteral("sea\\par\r\nthe"), {}},
        {QStringLiteral("seaside"), {}},
        {QString(500, u'a'), {}},
        {QString::fromUtf8("ÿ"), {}},
        {QString::fromUtf8("Ω"), {}},
    };
    for (const auto &[term, found] : cases)
        EXPECT_EQ(find(term), found) << term.toStdString();
    // A listed name with no file is passed over.
    EXPECT_EQ(searchPages(data.root().pagesDir(), {QStringLiteral("2024-03-04.dat"), QStringLiteral("2024-03-05.dat")}, u"went"),
              QStringList{QStringLiteral("2024-03-05.dat")});
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

// A few hundred pages in an order no thread keeps by chance, among them names with no file, a folder,
// empty files and a page longer than a read buffer's first size.
TEST_F(Search, OnEveryCoreFindsWhatReadingOneFileAtATimeFinds)
{
    QStringList names{QStringLiteral("2024-folder.dat")}, harbours;
    QDir(data.root().pagesDir()).mkdir(names.first());
    for (int day = 0; day < 400; ++day) {
        names.append(QStringLiteral("2024-%1.dat").arg(day, 3, 10, QLatin1Char('0')));
        const QByteArray text = day == 200 ? QByteArray(300000, 'x') + " harbour" : QByteArray(day % 3 ? "rain" : "harbour");
        if (day % 97 != 5)
            data.writeFile(QStringLiteral("pages/") + names.last(), day % 89 == 3 ? QByteArray() : *pagestore::encodePage("{\\rtf1 " + text + '}'));
    }
    std::shuffle(names.begin(), names.end(), std::mt19937(7));
    for (const QString &name : names) {
        if (data.readFile(QStringLiteral("pages/") + name).contains(*ScrambleLine("harbour")))
            harbours.append(name);
    }
    EXPECT_GT(harbours.size(), 100);
    EXPECT_EQ(searchPages(data.root().pagesDir(), names, u"harbour"), harbours);
    EXPECT_EQ(searchPages(data.root().pagesDir(), names, u"absent"), QStringList());
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
