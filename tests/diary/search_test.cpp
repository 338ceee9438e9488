#include "diary/filelist.h"
#include "diary/pagestore.h"
#include "diary/search.h"

#include "testdataroot.h"

#include <gtest/gtest.h>

namespace {

class Search : public ::testing::Test
{
protected:
    void page(const char *day, const QByteArray &rtf) { ASSERT_TRUE(pagestore::save(data.root(), QString::fromLatin1(day), rtf)); }
    QStringList find(const QString &term) const
    {
        const QString dir = data.root().pagesDir();
        return searchPages(dir, sortedFileNames(dir), term);
    }
    TestDataRoot data;
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
}

TEST_F(Search, BoundaryTerms)
{
    page("2024-03-05", "{\\rtf1 a\r\nb}");
    page("2024-03-06", "{\\rtf1 s\\b ea\\b0 side}");
    data.writeFile(QStringLiteral("pages/2024-03-07.dat"), QByteArray());
    // An empty term finds every page holding a line, not the empty file.
    EXPECT_EQ(find(QString()).size(), 2);
    // Terms never match across lines or across a change of formatting.
    EXPECT_TRUE(find(QStringLiteral("a\r\nb")).isEmpty());
    EXPECT_TRUE(find(QStringLiteral("seaside")).isEmpty());
    EXPECT_TRUE(find(QString(500, QLatin1Char('a'))).isEmpty());
    // A character that can never be stored finds nothing.
    EXPECT_TRUE(find(QString::fromUtf8("ÿ")).isEmpty());
    EXPECT_TRUE(find(QString::fromUtf8("Ω")).isEmpty());
}

TEST_F(Search, PassesOverPagesThatCannotBeRead)
{
    page("2024-03-05", "{\\rtf1 here}");
    const QString dir = data.root().pagesDir();
    const QStringList names{QStringLiteral("2024-03-04.dat"), QStringLiteral("2024-03-05.dat")};
    EXPECT_EQ(searchPages(dir, names, u"here"), QStringList{QStringLiteral("2024-03-05.dat")});
}
