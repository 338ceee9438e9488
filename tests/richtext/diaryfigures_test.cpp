#include "diary/pagestore.h"
#include "diary/storedbytes.h"
#include "richtext/diaryfigures.h"
#include "richtext/textsearch.h"
#include "vault/vault.h"

#include "testdataroot.h"

#include <gtest/gtest.h>

namespace {

using diaryfigures::Page;
using diaryfigures::Statistics;

// Tags and words in the spelling's languages and a few scripts beyond, where
// a page's words meet addresses, programming names and punctuation.
TEST(DiaryFigures, TagsAndWordsAsAWriterMeansThem)
{
    const struct
    {
        QString text;
        QStringList tags;
        int words;
    } rows[] = {
        {"Went to the #garden, then #Garden again; #gardening!", {"garden", "gardening"}, 8},
        {"C# and abc#def, 3#x, words# and # alone", {}, 9},
        {"https://x.org/#frag www.example.com/#a (http://a.b/c#d) mailto:me#x ftp://h/#y", {}, 19},
        {"(#paren) #end. #tag- #tag_ #snake_case #-x #_x #2024 #2024-trip ##hash", {"paren", "end", "tag", "snake_case", "2024-trip", "hash"}, 11},
        {"#été à #Straße über #Maïs-Feld", {"été", "Straße", "Maïs-Feld"}, 6},
        {"Лето на #даче, #Дача и #дача", {"даче", "Дача"}, 6},
        {"Η #αγάπη, #Ελλάδα. नमस्ते #नमस्ते #e\u0301te", {"αγάπη", "Ελλάδα", "नमस्ते", "e\u0301te"}, 6},
        {"\U0001D4B3#no #\U0001D4B3yz #\U0001F600 don't stop — 3.14 e-mail", {"\U0001D4B3yz"}, 8},
        {"", {}, 0},
    };
    for (const auto &row : rows)
        EXPECT_EQ(std::pair(diaryfigures::tagsIn(row.text), diaryfigures::wordsIn(row.text)), std::pair(row.tags, row.words)) << row.text.toStdString();
    // ASCII text is counted without QTextBoundaryFinder; one letter beyond ASCII sends the same text through it.
    const QString pieces = QStringLiteral("aAzZ09_.',;: ");
    for (int i = 0; i < 13 * 13 * 13 * 13; ++i) {
        const QString text = QString(pieces[i % 13]) + pieces[i / 13 % 13] + pieces[i / 169 % 13] + pieces[i / 2197];
        ASSERT_EQ(diaryfigures::wordsIn(text) + 1, diaryfigures::wordsIn(text + QString::fromUtf8(" é"))) << text.toStdString();
    }
    EXPECT_EQ(diaryfigures::firstLineOf(QStringLiteral("\n \t\n  First line  \nsecond")), QStringLiteral("First line"));
    EXPECT_EQ(diaryfigures::firstLineOf(QString(500, QLatin1Char('x'))).size(), 200);
}

constexpr const char *kPicture = "{\\rtf1\\ansi {\\pict\\pngblip\\picw1\\pich1 89504e470d0a1a0a}\\par}";

// A day's page in the generated diary, by its index from the first day: its
// RTF and the figures it must give, made here without the code under test.
struct Written
{
    QByteArray rtf;
    Page page;
};

std::optional<Written> written(const QDate &first, int i)
{
    const QDate day = first.addDays(i);
    // Gaps cut the diary into runs; the longest crosses a year's end and a leap day.
    if ((i % 13 == 5 && i < 300) || day == QDate(2020, 3, 20) || day == QDate(2021, 1, 4))
        return std::nullopt;
    if (i % 17 == 3)
        return Written{kPicture, {day, 0, {}, {}}};
    if (i % 23 == 4)
        return Written{"{\\rtf1\\ansi \\par\r\n\\par}", {day, 0, {}, {}}};
    if (day == QDate(2020, 2, 29))
        return Written{"{\\rtf1\\ansi\\ansicpg1251 \\par \\'cb\\'e5\\'f2\\'ee #\\'e4\\'e0\\'f7\\'e0\\par}",
                       {day, 2, QString::fromUtf8("Лето #дача"), {QString::fromUtf8("дача")}}};
    const int plain = i % 9 + 1;
    const QStringList tags = i % 4 == 1 ? QStringList{"garden"} : i % 4 == 2 ? QStringList{"Garden", "trip"} : QStringList{};
    QString line = QStringLiteral("w ").repeated(plain).trimmed();
    for (const QString &tag : tags)
        line += QStringLiteral(" #") + tag;
    return Written{"{\\rtf1\\ansi\\deff0 \\par\r\n\\pard\\b " + line.toLatin1() + "\\b0\\par\r\n more\\par}",
                   {day, plain + int(tags.size()) + 1, line, tags}};
}

// A generated diary, plain and sealed, read cold and then from the cache;
// its statistics as counted by hand, and its tags found.
TEST(DiaryFigures, GeneratedDiaryAddsUpAsCountedByHand)
{
    const auto vault = std::make_shared<Vault>(keyslot::newMasterKey(), KeySlot{});
    const QDate first(2019, 12, 1);
    for (const bool sealed : {false, true}) {
        SCOPED_TRACE(sealed ? "sealed" : "plain");
        const TestDataRoot data;
        const DataRoot root(data.path(), sealed ? vault : nullptr);
        QStringList names{QStringLiteral("2020-13-01.dat"), QStringLiteral("2020-01-01.sync-conflict-x.dat")};
        QList<Page> pages;
        // The days tagged #garden in any case, the latest first.
        QList<QDate> gardenDays;
        for (int i = 420; i >= 0; --i) {
            const auto page = written(first, i);
            if (!page)
                continue;
            const QString name = daykeys::pageFileName(page->page.day);
            data.writeFile(QStringLiteral("pages/") + name, *storedbytes::forDisk(root, *pagestore::encodePage(page->rtf), QStringLiteral("pages/") + name));
            names.append(name);
            pages.prepend(page->page);
            if (page->page.tags.contains(QStringLiteral("garden"), Qt::CaseInsensitive))
                gardenDays.append(page->page.day);
        }
        names.append(QStringLiteral("2021-03-01.dat"));
        textsearch::TextCache cache;
        QStringList unopened;
        EXPECT_EQ(diaryfigures::pages(root, names, &cache, &unopened), pages);
        EXPECT_EQ(unopened, QStringList{"2021-03-01.dat"});
        EXPECT_EQ(diaryfigures::pages(root, names, &cache), pages) << "from the cache";
        EXPECT_EQ(diaryfigures::pages(root, names, nullptr), pages) << "uncached";

        // Today's run, yesterday's, none and one of a day; each year alone, one without pages, and no today.
        // The longest run crosses the year's end, and the year's own part of it is 2020's longest.
        const std::tuple<QDate, std::optional<int>, Statistics> figures[] = {
            {QDate(2021, 1, 24), {}, {396, 2392, {312, 157, 171, 175, 171, 165, 170, 177, 166, 193, 187, 348}, 108, 20, 7}},
            {QDate(2021, 1, 25), 2020, {344, 2084, {175, 157, 171, 175, 171, 165, 170, 177, 166, 193, 187, 177}, 105, 20, 3}},
            {QDate(2021, 1, 26), 2019, {29, 171, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 171}, 12, 0, 1}},
            {QDate(2020, 3, 19), 2021, {23, 137, {137}, 20, 12, 5}},
            {QDate(2020, 3, 21), 2018, {0, 0, {}, 0, 1, 0}},
            {QDate(), 2020, {344, 2084, {175, 157, 171, 175, 171, 165, 170, 177, 166, 193, 187, 177}, 105, 0, 3}},
        };
        for (const auto &[today, year, shown] : figures)
            EXPECT_EQ(diaryfigures::statistics(pages, year, today), shown)
                << today.toString(Qt::ISODate).toStdString() << " " << year.value_or(0);

        const QList<std::pair<QString, int>> counts{{QStringLiteral("garden"), 177}, {QStringLiteral("trip"), 88}, {QString::fromUtf8("дача"), 1}};
        EXPECT_EQ(std::tuple(diaryfigures::tagCounts(pages), diaryfigures::daysTagged(pages, "GARDEN"), diaryfigures::daysTagged(pages, "gard")),
                  std::tuple(counts, gardenDays, QList<QDate>()));

        // A page a sync tool renames into place is read again; so is one written in place that the program forgets.
        const QString last = QStringLiteral("pages/") + daykeys::pageFileName(pages.last().day);
        data.writeFile(last + QStringLiteral(".part"), *storedbytes::forDisk(root, *pagestore::encodePage("{\\rtf1 #moved here}"), last));
        ASSERT_EQ(std::rename(qPrintable(data.path() + u'/' + last + QStringLiteral(".part")), qPrintable(data.path() + u'/' + last)), 0);
        pages.last() = Page{pages.last().day, 2, QStringLiteral("#moved here"), {QStringLiteral("moved")}};
        EXPECT_EQ(diaryfigures::pages(root, names, &cache), pages);
        data.writeFile(last, *storedbytes::forDisk(root, *pagestore::encodePage("{\\rtf1 stayed}"), last));
        cache.forget(last.mid(6));
        pages.last() = Page{pages.last().day, 1, QStringLiteral("stayed"), {}};
        EXPECT_EQ(diaryfigures::pages(root, names, &cache), pages);
        cache.clear();
        EXPECT_EQ(cache.bytes(), 0);
    }
}

// "#garden" finds the tag whatever the search's choices, and neither the
// plain word nor a longer tag; any other term searches as it did.
TEST(DiaryFigures, SearchFindsATagAsATag)
{
    const TestDataRoot data;
    const DataRoot &root = data.root();
    const QByteArrayList texts{"#garden", "my #GARDEN grows", "#gardening", "the garden", "https://x.org/#garden", "x#garden"};
    QStringList names;
    for (int i = 0; i < texts.size(); ++i) {
        ASSERT_TRUE(pagestore::save(root, QDate(2024, 3, i + 1), "{\\rtf1\\ansi " + texts[i] + "\\par}"));
        names.append(daykeys::pageFileName(QDate(2024, 3, i + 1)));
    }
    textsearch::TextCache cache;
    for (const textsearch::Options options : {textsearch::Options{}, textsearch::Options{false, true}, textsearch::Options{true, true}}) {
        EXPECT_EQ(textsearch::search(root, names, QStringLiteral(" #garden "), options, &cache), names.first(2));
        EXPECT_EQ(textsearch::search(root, names, QStringLiteral("#Garden"), options), names.first(2));
        EXPECT_EQ(textsearch::context(root, names[1], QStringLiteral("#garden"), options, &cache), QStringLiteral("my #GARDEN grows"));
    }
    EXPECT_EQ(textsearch::search(root, names, QStringLiteral("#garden grows"), {false, true}, &cache), names.sliced(1, 1));
    EXPECT_EQ(std::pair(textsearch::search(root, names, QStringLiteral("#gard"), {}), textsearch::search(root, names, QStringLiteral("x#garden"), {})),
              std::pair(QStringList(), names.sliced(5)));
}

} // namespace
