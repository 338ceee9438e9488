#include "import/readers.h"

#include "importtest.h"

#include <gtest/gtest.h>

#include <algorithm>

using diaryimport::Entry;

TEST(MiniDiary, ReadsOneEntryADayByItsKey)
{
    const auto read = diaryimport::readMiniDiary(sample("minidiary.json"));
    ASSERT_FALSE(read.error) << refusal(read);
    // In the export's order; the import orders them by day.
    auto entries = wholeEntries(read);
    std::ranges::sort(entries, {}, &Entry::day);
    ASSERT_EQ(entries.size(), 3u);
    const Entry &yearEnd = entries[0];
    EXPECT_EQ(yearEnd.day, QDate(2019, 12, 31));
    EXPECT_EQ(yearEnd.title, QStringLiteral("Year's end"));
    EXPECT_EQ(yearEnd.text, QStringLiteral("Fireworks at midnight."));
    const Entry &mayDay = entries[1];
    EXPECT_EQ(mayDay.day, QDate(2020, 5, 1));
    EXPECT_EQ(mayDay.text, QStringLiteral("A **long** walk by the river.\n\n- swans\n- a heron"));
    EXPECT_EQ(entries[2].title, QString());
    for (const Entry &entry : entries) {
        EXPECT_FALSE(entry.time);
        EXPECT_EQ(entry.markup, Entry::Markup::Markdown);
    }
}

TEST(MiniDiary, RefusesAMalformedExportWholeNamingThePlace)
{
    const std::pair<const char *, const char *> faults[] = {
        {"minidiary-baddate.json", "minidiary-baddate.json: entry 2020-02-30: is not a day written yyyy-mm-dd"},
        // Counted in bytes, "ü" and "ß" would put the column at 40.
        {"minidiary-syntax.json", "minidiary-syntax.json: line 4, column 38: unterminated object"},
        {"jrnl.json", "jrnl.json: \"entries\" is not a JSON object"},
    };
    for (const auto &[file, why] : faults) {
        const auto read = diaryimport::readMiniDiary(sample(file));
        EXPECT_EQ(refusal(read), why);
        EXPECT_TRUE(read.entries.empty()) << file;
    }
}
