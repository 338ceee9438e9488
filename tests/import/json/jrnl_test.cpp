#include "import/readers.h"

#include "importtest.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using diaryimport::Entry;

TEST(Jrnl, KeepsEachEntrysDayTimeTitleAndBody)
{
    const auto read = diaryimport::readJrnl(sample("jrnl.json"));
    ASSERT_FALSE(read.error) << refusal(read);
    const auto entries = wholeEntries(read);
    ASSERT_EQ(entries.size(), 4u);
    const Entry &first = entries[0];
    EXPECT_EQ(first.day, QDate(2021, 3, 14));
    EXPECT_EQ(first.time, QTime(8, 15));
    EXPECT_EQ(first.title, QStringLiteral("Planted the tomatoes."));
    EXPECT_EQ(first.text, QStringLiteral("The @garden bed by the wall.\nTwo rows, six plants each."));
    EXPECT_EQ(first.markup, Entry::Markup::Plain);
    EXPECT_TRUE(first.pictures.isEmpty());
    // Two entries of one day stay two entries, each with its own time.
    EXPECT_EQ(entries[1].day, QDate(2021, 3, 14));
    EXPECT_EQ(entries[1].time, QTime(17, 40));
    EXPECT_EQ(entries[1].text, QString());
    EXPECT_EQ(entries[2].title, QStringLiteral("Café on the corner — crème brûlée."));
    EXPECT_EQ(entries[3].day, QDate(2021, 4, 2));
}

// The entries are found by a scan of the text; what the scan does not take
// plainly is parsed whole, with the same entries or the same fault.
TEST(Jrnl, RefusesAMalformedExportWholeNamingThePlace)
{
    const std::pair<const char *, const char *> faults[] = {
        {"jrnl-cutoff.json", "jrnl-cutoff.json: line 19, column 9: unterminated string"},
        {"jrnl-nodate.json", "jrnl-nodate.json: entry 2: has no \"date\""},
        {"jrnl-wrongtype.json", "jrnl-wrongtype.json: entry 3: \"body\" is not text"},
        {"minidiary.json", "minidiary.json: \"entries\" is not a list"},
        {"absent.json", "absent.json: cannot be read"},
        {"jrnl-baddate.json", "jrnl-baddate.json: entry 1: \"date\" is not a day written yyyy-mm-dd: \"2021-02-30\""},
        {"jrnl-badtime.json", "jrnl-badtime.json: entry 1: \"time\" is not a time written hh:mm: \"8 am\""},
        {"jrnl-number.json", "jrnl-number.json: entry 2: is not a JSON object"},
        {"jrnl-illegal.json", "jrnl-illegal.json: line 1, column 14: illegal value"},
        {"jrnl-comma.json", "jrnl-comma.json: line 1, column 111: object is missing after a comma"},
    };
    for (const auto &[file, why] : faults) {
        const auto read = diaryimport::readJrnl(sample(file));
        EXPECT_EQ(refusal(read), why);
        EXPECT_TRUE(read.entries.empty()) << file;
    }
    for (const char *file : {"jrnl-spaced.json", "jrnl-escaped.json"}) {
        const auto read = diaryimport::readJrnl(sample(file));
        EXPECT_FALSE(read.error) << refusal(read);
        const auto entries = wholeEntries(read);
        ASSERT_EQ(entries.size(), 2u) << file;
        EXPECT_EQ(entries[1].title, QStringLiteral("a \"quoted\" [x] {y}"));
        EXPECT_EQ(entries[1].text, QStringLiteral("b"));
    }
    const auto untimed = diaryimport::readJrnl(sample("jrnl-untimed.json"));
    ASSERT_EQ(untimed.entries.size(), 1u) << refusal(untimed);
    EXPECT_FALSE(untimed.entries[0].time);
}

TEST(Jrnl, RefusesHugeFilesAndTooManyEntries)
{
    QTemporaryDir dir;
    const auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    // Refused by its size before a byte is read: the file is sparse.
    QFile huge(write(QStringLiteral("huge.json"), "{"));
    ASSERT_TRUE(huge.resize((qint64(256) << 20) + 1));
    EXPECT_EQ(refusal(diaryimport::readJrnl(huge.fileName())), "huge.json: larger than 256 MiB, more than an import takes");
    // Each entry costs its place even when it is tiny, so their number is bounded too.
    const QString many = write(QStringLiteral("many.json"), "{\"entries\": [" + QByteArray("{},").repeated(500000) + "{}]}");
    EXPECT_EQ(refusal(diaryimport::readJrnl(many)), "many.json: more than 500000 entries, more than an import takes");
}
