#include "import/diaryimport.h"
#include "import/readers.h"
#include "import/rednotebookmarkup.h"

#include "storedpage.h"
#include "testdataroot.h"

#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

using namespace diaryimport;

namespace {

void writeText(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(RedNotebook, MonthFilesBecomePagesWithTheirFormatting)
{
    const Read read = readRedNotebook(storedpage::samplePath(QStringLiteral("rednotebook")));
    ASSERT_FALSE(read.error) << read.error->toStdString();
    QStringList days;
    for (const Entry &entry : read.entries)
        days.append(entry.day.toString(Qt::ISODate));
    days.sort();
    EXPECT_EQ(days.join(u' '), QStringLiteral("2024-02-29 2024-03-05 2024-03-12 2024-03-20 2024-04-01 2024-04-02"))
        << "a day with an empty text is no entry";

    TestDataRoot data;
    importEntries(data.root(), read.entries, Existing::Skip);
    const auto page = [&](const QString &day) { return storedpage::read(data.root(), day); };
    // The page of 2024-04-01 is written as a block scalar.
    for (const QString &day : {QStringLiteral("2024-03-05"), QStringLiteral("2024-03-12"), QStringLiteral("2024-04-01")}) {
        const QByteArray shown = storedpage::sampleBytes(QStringLiteral("rednotebook-pages/%1.txt").arg(day));
        EXPECT_EQ(storedpage::text(*page(day)), QString::fromUtf8(shown).chopped(1)) << day.toStdString();
    }
    const auto walk = page(QStringLiteral("2024-03-05"));
    storedpage::expectMarks(*walk, {{"harbour", "b"}, {"Walked", ""}, {"three", "i"}, {"red", "u"}, {"sunk", "s"}, {"floated", ""}});

    const auto market = page(QStringLiteral("2024-03-12"));
    const QTextCharFormat heading = storedpage::formatOf(*market, QStringLiteral("Market day"));
    EXPECT_GT(heading.fontPointSize(), storedpage::formatOf(*market, QStringLiteral("apples")).fontPointSize());
    // The // of an address starts no italics.
    storedpage::expectMarks(*market, {{"Market day", "b"}, {"not italic", ""}});
    const auto pictures = storedpage::pictures(*market);
    ASSERT_EQ(pictures.size(), 1U);
    EXPECT_EQ(pictures[0].bytes, storedpage::sampleBytes(QStringLiteral("rednotebook/pictures/tree.png")));

    storedpage::expectMarks(*page(QStringLiteral("2024-04-01")), {{"Nobody", "b"}});
}

TEST(RedNotebook, MarksNestAndWhatIsNoMarkStaysText)
{
    const auto shown = [](const QString &markup) {
        auto page = std::make_unique<QTextDocument>();
        page->setHtml(rednotebookHtml(markup, [](const QString &) { return false; }));
        return page;
    };
    storedpage::expectMarks(*shown(QStringLiteral("**bold //both// bold** rest")), {{"both", "bi"}, {"rest", ""}});
    for (const QString &literal : {QStringLiteral("**not closed and ** spaced ** a -- b -- c"),
                                   QStringLiteral("<script>&amp;"), QStringLiteral("= not = a heading ==")})
        EXPECT_EQ(storedpage::text(*shown(literal)), literal);

    QString deep = QStringLiteral("x");
    for (int i = 0; i < 12; ++i)
        deep = QStringLiteral("**//%1//**").arg(deep);
    EXPECT_TRUE(storedpage::text(*shown(deep)).contains(QLatin1Char('x'))) << "deep nesting ends without losing the text";
}

TEST(RedNotebook, OneMonthFileWithPicturesByPathOrAddress)
{
    QTemporaryDir folder;
    const QString picture = storedpage::samplePath(QStringLiteral("rednotebook/pictures/tree"));
    const QByteArray byPath = "[\"\"" + picture.toUtf8() + "\"\".png]";
    const QByteArray byAddress = "[\"\"" + QUrl::fromLocalFile(picture).toString().toUtf8() + "\"\".png?6]";
    writeText(folder.filePath(QStringLiteral("2023-12.txt")), "24: {text: '" + byPath + " and " + byAddress + "'}\n");
    writeText(folder.filePath(QStringLiteral("2023-11.txt")), "1: {text: 'not read'}\n");

    const Read read = readRedNotebook(folder.filePath(QStringLiteral("2023-12.txt")));
    ASSERT_EQ(read.entries.size(), 1U) << "only the month file given is read";
    EXPECT_EQ(read.entries[0].day, QDate(2023, 12, 24));
    TestDataRoot data;
    importEntries(data.root(), read.entries, Existing::Skip);
    const auto page = storedpage::read(data.root(), QStringLiteral("2023-12-24"));
    EXPECT_EQ(storedpage::pictures(*page).size(), 2U);
    EXPECT_EQ(storedpage::text(*page), QStringLiteral(" and "));
}

TEST(RedNotebook, AFaultyMonthIsRefusedByFileAndPlace)
{
    const Read broken = readRedNotebook(storedpage::samplePath(QStringLiteral("rednotebook-broken")));
    ASSERT_TRUE(broken.error);
    EXPECT_TRUE(broken.error->startsWith(QStringLiteral("2024-04.txt: line 5, column 2: "))) << broken.error->toStdString();
    EXPECT_TRUE(broken.entries.empty()) << "the good month before it is not imported either";

    const std::pair<const char *, const char *> faults[] = {
        {"rednotebook-badday", "2024-04.txt: line 2, column 1: '31' is not a day of April 2024"},
        {"rednotebook-notext", "2024-04.txt: line 2, column 9: the text of day 5 is not a text"},
        {"rednotebook-notes/notes.txt", "%1 is not a RedNotebook month file (YYYY-MM.txt)"},
    };
    for (const auto &[path, why] : faults) {
        const QString sample = storedpage::samplePath(QString::fromLatin1(path));
        EXPECT_EQ(readRedNotebook(sample).error, QString::fromLatin1(why).arg(sample));
    }
    QTemporaryDir empty;
    EXPECT_TRUE(readRedNotebook(empty.path()).error->contains(QStringLiteral("no RedNotebook month files")));
}
