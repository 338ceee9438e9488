#include "import/diaryimport.h"
#include "import/readers.h"

#include "storedpage.h"
#include "testdataroot.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

using namespace diaryimport;

TEST(MarkdownFolder, DayFilesBecomeEntriesWithTheirTitlesAndPictures)
{
    const Read read = readMarkdown(storedpage::samplePath(QStringLiteral("markdown")));
    ASSERT_FALSE(read.error) << read.error->toStdString();
    // Each file is read again when its page is built.
    std::vector<Entry> entries;
    std::ranges::transform(read.entries, std::back_inserter(entries), wholeEntry);
    ASSERT_EQ(entries.size(), 3U) << "README.md, a .txt file and 2024-02-30.md are no day's files";
    EXPECT_EQ(entries[0].day, QDate(2024, 3, 5));
    EXPECT_EQ(entries[0].title, QString());
    EXPECT_EQ(entries[1].day, QDate(2024, 3, 5));
    EXPECT_EQ(entries[1].title, QStringLiteral("Trip"));
    EXPECT_EQ(entries[2].day, QDate(2024, 3, 19));
    EXPECT_EQ(entries[2].text, QStringLiteral("Last day of __winter__ coats.\n")) << "the byte-order mark is not text";
    for (const Entry &entry : entries) {
        EXPECT_EQ(entry.markup, Entry::Markup::Markdown);
        EXPECT_FALSE(entry.time);
    }
    const auto &pictures = entries[1].pictures;
    EXPECT_EQ(pictures.keys(), QStringList{QStringLiteral("images/tree.png")})
        << "a missing picture and one outside the folder are not taken";
    EXPECT_EQ(pictures.value(QStringLiteral("images/tree.png")), storedpage::sampleBytes(QStringLiteral("markdown/images/tree.png")));

    TestDataRoot data;
    importEntries(data.root(), read.entries, Existing::Skip);
    const auto page = storedpage::read(data.root(), QStringLiteral("2024-03-05"));
    const QString text = storedpage::text(*page);
    EXPECT_TRUE(text.startsWith(QStringLiteral("Morning run along the river.\nFelt good.\n") + storedpage::kRule
                                + QStringLiteral("\nTrip\nPacking\n\u2022 tent\n\u2022 stove\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("gone and outside"))) << "a picture not taken shows its description";
    EXPECT_TRUE(text.endsWith(QStringLiteral("See the map (https://maps.example.org).")));
    // Underscores mean emphasis, as asterisks do, never an underline.
    storedpage::expectMarks(*page, {{"river", "b"}, {"good", "i"}, {"Trip", "b"}, {"stove", "s"}, {"tent", ""}});
    storedpage::expectMarks(*storedpage::read(data.root(), QStringLiteral("2024-03-19")), {{"winter", "b"}});
    const auto stored = storedpage::pictures(*page);
    ASSERT_EQ(stored.size(), 1U);
    EXPECT_EQ(stored[0].bytes, storedpage::sampleBytes(QStringLiteral("markdown/images/tree.png")));
}

TEST(MarkdownFolder, OnlyAFolderWithDayFilesIsRead)
{
    EXPECT_TRUE(readMarkdown(storedpage::samplePath(QStringLiteral("markdown/2024-03-05.md"))).error->contains(QStringLiteral("not a folder")));
    QTemporaryDir empty;
    EXPECT_TRUE(readMarkdown(empty.path()).error->contains(QStringLiteral("yyyy-mm-dd.md")));

    // Refused by its size before a byte is read: the file is sparse.
    QFile huge(QDir(empty.path()).filePath(QStringLiteral("2024-03-05.md")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(kLargestDayText + 1));
    EXPECT_EQ(*readMarkdown(empty.path()).error, QStringLiteral("2024-03-05.md: larger than 4 MiB, more than an import takes"));
}
