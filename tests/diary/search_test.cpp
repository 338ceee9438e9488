#include "diary/filelist.h"
#include "diary/scramble.h"
#include "diary/search.h"

#include "diaryfixture.h"

#include <QRegularExpression>
#include <QThread>

#include <algorithm>
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
TEST_F(Search, FindsEachPageOnceInListOrderNothingAcrossLinesOrFormattingAndPassesOverWhatIsNoPage)
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
    // A listed name with no file or with a folder is passed over, and so is a file larger than a page file.
    ASSERT_TRUE(QDir(data.root().pagesDir()).mkdir(QStringLiteral("2024-03-08.dat")));
    EXPECT_EQ(searchPages(data.root().pagesDir(), {"2024-03-04.dat", "2024-03-05.dat", "2024-03-08.dat"}, u"went"), QStringList{"2024-03-05.dat"});
    QStringList names;
    for (const qint64 size : {pagestore::kLargestPageFile, pagestore::kLargestPageFile + 1}) {
        names.append(QStringLiteral("%1.dat").arg(size));
        data.writeFile(QStringLiteral("pages/") + names.last(), *ScrambleLine("harbour"));
        ASSERT_TRUE(QFile(data.root().pagesDir() + u'/' + names.last()).resize(size));
    }
    EXPECT_EQ(searchPages(data.root().pagesDir(), names, u"harbour"), names.mid(0, 1));
}

TEST(SearchOnEveryCore, SharesOutEveryNameOnceAndStartsNoThreadForAFew)
{
    for (const qsizetype count : {0, 1, 63, 1000}) {
        QStringList names(count);
        std::ranges::generate(names, [i = 0]() mutable { return QString::number(i++); });
        std::vector<std::atomic<int>> visits(static_cast<size_t>(count));
        std::atomic<int> otherThreads = 0;
        const QStringList odd = search::matching(names, [&, caller = std::this_thread::get_id()](search::Share &share) {
            otherThreads += std::this_thread::get_id() != caller;
            for (qsizetype i; (i = share.next()) >= 0;) {
                if (++visits[size_t(i)] == 1 && i % 2)
                    share.match();
            }
        });
        EXPECT_EQ(std::tuple(odd, std::ranges::all_of(visits, [](const std::atomic<int> &v) { return v == 1; }), otherThreads > 0),
                  std::tuple(names.filter(QRegularExpression(QStringLiteral("[13579]$"))), true, count >= 128 && QThread::idealThreadCount() > 1))
            << count;
    }
}
