#pragma once

#include "textcache.h"

#include "diary/dataroot.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>

// What a diary's pages add up to: words by day, streaks, tags. Every figure
// comes from the texts the search keeps (a page is read only when the cache
// does not hold it), so nothing of an encrypted diary's text is written out.
namespace diaryfigures {

// One page's figures, from the text it shows.
struct Page
{
    QDate day;
    int words = 0;
    QString firstLine;
    // Each tag once, as written after its "#", in the order it first shows.
    QStringList tags;
    bool operator==(const Page &) const = default;
};

// The tags in a page's text: "#" followed by letters, digits, "-" and "_" of
// any script, not inside a URL and not part of a longer word.
QStringList tagsIn(const QString &text);
// The words a page's text counts.
int wordsIn(const QString &text);
// The first line of text that shows something, trimmed and cut at a tooltip's length.
QString firstLineOf(const QString &text);

// The figures of page name (a file name in the pages folder), kept in cache
// with its text; nothing when the page cannot be read.
std::optional<textsearch::TextCache::Figures> pageFigures(const DataRoot &root, const QString &name,
                                                         textsearch::TextCache *cache);

// The figures of the pages among names (file names in the pages folder), in
// day order. unopened, when given, receives the pages that could not be read.
QList<Page> pages(const DataRoot &root, const QStringList &names, textsearch::TextCache *cache,
                  QStringList *unopened = nullptr);

struct Statistics
{
    int pages = 0;
    int words = 0;
    // Words of each month, January first (of the year, or of every year).
    std::array<int, 12> wordsPerMonth{};
    int longestStreak = 0;
    // Days written in a row up to today, or up to yesterday while today has no page yet.
    int currentStreak = 0;
    // 1 (Monday) to 7, the weekday with most pages; 0 when there are none.
    int busiestWeekday = 0;
    double averageWords() const { return pages == 0 ? 0.0 : double(words) / pages; }
    bool operator==(const Statistics &) const = default;
};

// Of one year, or of all the pages when year is empty; today is the clock's.
Statistics statistics(const QList<Page> &pages, std::optional<int> year, QDate today);

// Every tag with its number of pages, most used first, then by name.
QList<std::pair<QString, int>> tagCounts(const QList<Page> &pages);
// The days whose pages carry tag (without its "#", compared ignoring case), newest first.
QList<QDate> daysTagged(const QList<Page> &pages, const QString &tag);

} // namespace diaryfigures
