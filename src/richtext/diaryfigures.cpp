#include "diaryfigures.h"

#include "diary/daykeys.h"
#include "diary/search.h"

#include <QHash>
#include <QRegularExpression>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

namespace diaryfigures {

namespace {

constexpr qsizetype kLongestFirstLine = 200;

bool isMark(char32_t c)
{
    const auto category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining || category == QChar::Mark_Enclosing;
}

bool isWordChar(char32_t c)
{
    return QChar::isLetterOrNumber(c) || isMark(c);
}

// The code point that ends just before at, and the one that starts at at.
char32_t before(QStringView text, qsizetype at)
{
    if (at >= 2 && QChar::isLowSurrogate(text[at - 1].unicode()) && QChar::isHighSurrogate(text[at - 2].unicode()))
        return QChar::surrogateToUcs4(text[at - 2], text[at - 1]);
    return at >= 1 ? text[at - 1].unicode() : 0;
}

char32_t at(QStringView text, qsizetype i, qsizetype *length)
{
    *length = 1;
    if (i + 1 < text.size() && text[i].isHighSurrogate() && text[i + 1].isLowSurrogate()) {
        *length = 2;
        return QChar::surrogateToUcs4(text[i], text[i + 1]);
    }
    return text[i].unicode();
}

// Whether the "#" at hash lies in a web or mail address: its run of
// characters up to the next space holds a scheme or begins "www.".
bool inAddress(QStringView text, qsizetype hash)
{
    static const QRegularExpression address(QStringLiteral("://|(?:^|[^\\w.])www\\.|(?:^|\\W)mailto:"),
                                            QRegularExpression::CaseInsensitiveOption);
    qsizetype start = hash;
    while (start > 0 && !text[start - 1].isSpace())
        --start;
    return start < hash && address.match(text.sliced(start, hash - start)).hasMatch();
}

// The tag after the "#" at hash; empty when there is none.
QString tagAt(QStringView text, qsizetype hash)
{
    qsizetype end = hash + 1;
    bool letter = false;
    for (qsizetype length = 0; end < text.size(); end += length) {
        const char32_t c = at(text, end, &length);
        if (!isWordChar(c) && c != '-' && c != '_')
            break;
        letter = letter || QChar::isLetter(c);
    }
    // A dash or underscore at the end is the sentence's, as in "#garden-".
    while (end > hash + 1 && (text[end - 1] == QLatin1Char('-') || text[end - 1] == QLatin1Char('_')))
        --end;
    const bool startsWord = end > hash + 1 && text[hash + 1] != QLatin1Char('-') && text[hash + 1] != QLatin1Char('_');
    return letter && startsWord ? text.sliced(hash + 1, end - hash - 1).toString() : QString();
}

// The day of a page file's name, read by hand: QDate::fromString would take
// more than the rest of a warm call for a century of pages.
std::optional<QDate> dayOf(QStringView name)
{
    if (!daykeys::isPageFileName(name))
        return std::nullopt;
    return QDate(name.first(4).toInt(), name.sliced(5, 2).toInt(), name.sliced(8, 2).toInt());
}

// How an ASCII character takes part in a word as QTextBoundaryFinder's word
// boundaries take it: letters, digits and "_" join; ",", ";" and "." join
// digits, "'" letters or digits, when the same kind stands on both sides.
enum class Joins { No, Letter, Digit, Underscore, Digits, Both };

Joins joinsOf(char16_t c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
        return Joins::Letter;
    if (c >= '0' && c <= '9')
        return Joins::Digit;
    switch (c) {
    case '_': return Joins::Underscore;
    case ',':
    case ';':
    case '.': return Joins::Digits;
    case '\'': return Joins::Both;
    default: return Joins::No;
    }
}

bool inWord(Joins c)
{
    return c == Joins::Letter || c == Joins::Digit || c == Joins::Underscore;
}

// Whether the character between before and after joins them.
bool bridges(Joins between, Joins before, Joins after)
{
    const bool letters = before == Joins::Letter && after == Joins::Letter && between == Joins::Both;
    const bool digits = before == Joins::Digit && after == Joins::Digit && (between == Joins::Digits || between == Joins::Both);
    return letters || digits;
}

// The words QTextBoundaryFinder finds in ASCII text, counted without its
// tables, which take longer than reading and decoding the pages.
int asciiWords(QStringView text)
{
    const auto kind = [&](qsizetype i) { return i < text.size() ? joinsOf(text[i].unicode()) : Joins::No; };
    int count = 0;
    bool counted = false;
    Joins twoBack = Joins::No, back = Joins::No, c = kind(0);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const Joins next = kind(i + 1);
        // Whether this character is of the same piece as the one before it.
        const bool continues = (inWord(c) && inWord(back)) || bridges(c, back, next) || (inWord(c) && bridges(back, twoBack, c));
        counted = counted && continues;
        if (!counted && (c == Joins::Letter || c == Joins::Digit)) {
            ++count;
            counted = true;
        }
        twoBack = std::exchange(back, std::exchange(c, next));
    }
    return count;
}

bool sameTag(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QStringList tagsIn(const QString &text)
{
    QStringList tags;
    for (qsizetype hash = text.indexOf(QLatin1Char('#')); hash >= 0; hash = text.indexOf(QLatin1Char('#'), hash + 1)) {
        if (isWordChar(before(text, hash)) || inAddress(text, hash))
            continue;
        const QString tag = tagAt(text, hash);
        if (!tag.isEmpty() && std::none_of(tags.cbegin(), tags.cend(), [&](const QString &kept) { return sameTag(kept, tag); }))
            tags.append(tag);
    }
    return tags;
}

int wordsIn(const QString &text)
{
    if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; }))
        return asciiWords(text);
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, text);
    int count = 0;
    qsizetype start = 0;
    for (qsizetype end; (end = words.toNextBoundary()) >= 0; start = end) {
        const QStringView piece = QStringView(text).sliced(start, end - start);
        // Spaces and punctuation are pieces of their own; a word holds a letter or digit.
        if (std::any_of(piece.cbegin(), piece.cend(), [](QChar c) { return c.isLetterOrNumber(); }))
            ++count;
    }
    return count;
}

QString firstLineOf(const QString &text)
{
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        const QString line = text.sliced(start, end - start).trimmed();
        if (!line.isEmpty())
            return line.left(kLongestFirstLine);
        start = end + 1;
    }
    return {};
}

std::optional<textsearch::TextCache::Figures> pageFigures(const DataRoot &root, const QString &name,
                                                         textsearch::TextCache *cache)
{
    const auto texts = textsearch::pageTexts(root, name, cache, [](textsearch::TextCache::Texts &texts) {
        if (texts.figures)
            return false;
        const QString shown = texts.shown.toString();
        texts.figures = textsearch::TextCache::Figures{wordsIn(shown), firstLineOf(shown), tagsIn(shown)};
        return true;
    });
    return texts ? texts->figures : std::nullopt;
}

QList<Page> pages(const DataRoot &root, const QStringList &names, textsearch::TextCache *cache, QStringList *unopened)
{
    std::vector<Page> found(size_t(names.size()));
    const std::vector<char> marks = search::marked(names.size(), [&](search::Share &share) {
        for (qsizetype i; (i = share.next()) >= 0;) {
            const auto day = dayOf(names[i]);
            const auto figures = day ? pageFigures(root, names[i], cache) : std::nullopt;
            if (figures) {
                found[size_t(i)] = Page{*day, figures->words, figures->firstLine, figures->tags};
                share.match();
            } else if (day) {
                share.unopened();
            }
        }
    });
    QList<Page> result;
    result.reserve(names.size());
    for (size_t i = 0; i < marks.size(); ++i) {
        if (marks[i] & search::Share::kMatch)
            result.append(std::move(found[i]));
        else if (marks[i] == search::Share::kUnopened && unopened)
            unopened->append(names[qsizetype(i)]);
    }
    std::ranges::stable_sort(result, {}, &Page::day);
    return result;
}

namespace {

// The longest run of consecutive days among days, which are in order and each once.
int longestRun(const std::vector<qint64> &days)
{
    int longest = 0;
    int run = 0;
    for (size_t i = 0; i < days.size(); ++i) {
        run = i > 0 && days[i] == days[i - 1] + 1 ? run + 1 : 1;
        longest = std::max(longest, run);
    }
    return longest;
}

int runEndingAt(const std::vector<qint64> &days, qint64 last)
{
    int run = 0;
    while (std::ranges::binary_search(days, last - run))
        ++run;
    return run;
}

std::vector<qint64> daysOf(const QList<Page> &pages, std::optional<int> year)
{
    std::vector<qint64> days;
    for (const Page &page : pages) {
        if (!year || page.day.year() == *year)
            days.push_back(page.day.toJulianDay());
    }
    std::ranges::sort(days);
    days.erase(std::unique(days.begin(), days.end()), days.end());
    return days;
}

} // namespace

Statistics statistics(const QList<Page> &pages, std::optional<int> year, QDate today)
{
    Statistics figures;
    std::array<int, 7> perWeekday{};
    for (const Page &page : pages) {
        if (year && page.day.year() != *year)
            continue;
        ++figures.pages;
        figures.words += page.words;
        figures.wordsPerMonth[size_t(page.day.month() - 1)] += page.words;
        ++perWeekday[size_t(page.day.dayOfWeek() - 1)];
    }
    figures.longestStreak = longestRun(daysOf(pages, year));
    // Today's streak is today's whatever year is looked at.
    const std::vector<qint64> all = daysOf(pages, std::nullopt);
    const int upToToday = runEndingAt(all, today.toJulianDay());
    figures.currentStreak = upToToday > 0 ? upToToday : runEndingAt(all, today.toJulianDay() - 1);
    if (figures.pages > 0)
        figures.busiestWeekday = int(std::ranges::max_element(perWeekday) - perWeekday.begin()) + 1;
    return figures;
}

QList<std::pair<QString, int>> tagCounts(const QList<Page> &pages)
{
    struct Count
    {
        int pages = 0;
        // Each way the tag is written, with its pages: the commonest names it.
        QHash<QString, int> spellings;
    };
    QHash<QString, Count> counts;
    for (const Page &page : pages) {
        for (const QString &tag : page.tags) {
            Count &count = counts[tag.toCaseFolded()];
            ++count.pages;
            ++count.spellings[tag];
        }
    }
    QList<std::pair<QString, int>> result;
    for (const Count &count : std::as_const(counts)) {
        QString name;
        int most = 0;
        for (auto spelling = count.spellings.cbegin(); spelling != count.spellings.cend(); ++spelling) {
            if (spelling.value() > most || (spelling.value() == most && spelling.key() < name))
                std::tie(name, most) = std::pair(spelling.key(), spelling.value());
        }
        result.append({name, count.pages});
    }
    std::ranges::sort(result, [](const auto &a, const auto &b) {
        if (a.second != b.second)
            return a.second > b.second;
        return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
    });
    return result;
}

QList<QDate> daysTagged(const QList<Page> &pages, const QString &tag)
{
    QList<QDate> days;
    for (const Page &page : pages) {
        if (std::ranges::any_of(page.tags, [&](const QString &kept) { return sameTag(kept, tag); }))
            days.append(page.day);
    }
    std::ranges::sort(days, std::greater<>());
    return days;
}

} // namespace diaryfigures
