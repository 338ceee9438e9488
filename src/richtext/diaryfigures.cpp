#include "diaryfigures.h"

#include "diary/daykeys.h"
#include "diary/search.h"

#include <QHash>

#include <algorithm>
#include <tuple>
#include <vector>

namespace diaryfigures {

namespace {

// The day of a page file's name, read by hand: QDate::fromString would take
// more than the rest of a warm call for a century of pages.
std::optional<QDate> dayOf(QStringView name)
{
    if (!daykeys::isPageFileName(name))
        return std::nullopt;
    return QDate(name.first(4).toInt(), name.sliced(5, 2).toInt(), name.sliced(8, 2).toInt());
}

bool sameTag(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

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
    // Taken before the pass, so a change made during it shows at the next one.
    const auto folder = cache ? textsearch::stampOf(root.pagesDir()) : std::nullopt;
    const bool confirmed = folder && cache->folderConfirmed(root.pagesDir(), *folder);
    const auto figuresOf = [&](const QString &name) {
        const auto kept = confirmed ? cache->kept(name) : std::nullopt;
        return kept && kept->figures ? kept->figures : pageFigures(root, name, cache);
    };
    std::vector<Page> found(size_t(names.size()));
    const std::vector<char> marks = search::marked(names.size(), [&](search::Share &share) {
        for (qsizetype i; (i = share.next()) >= 0;) {
            const auto day = dayOf(names[i]);
            const auto figures = day ? figuresOf(names[i]) : std::nullopt;
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
    if (folder)
        cache->confirmFolder(root.pagesDir(), *folder);
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
    // Today's streak is today's whatever year is looked at; without a today there is none.
    if (today.isValid()) {
        const std::vector<qint64> all = daysOf(pages, std::nullopt);
        const int upToToday = runEndingAt(all, today.toJulianDay());
        figures.currentStreak = upToToday > 0 ? upToToday : runEndingAt(all, today.toJulianDay() - 1);
    }
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
