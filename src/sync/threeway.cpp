#include "threeway.h"

#include <algorithm>
#include <vector>

namespace threeway {

namespace {

// For each line of a, its line in b of a longest common subsequence, or -1.
std::optional<std::vector<qsizetype>> matched(const QStringList &a, const QStringList &b)
{
    std::vector<qsizetype> match(a.size(), -1);
    qsizetype head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head]) {
        match[head] = head;
        ++head;
    }
    qsizetype tailA = a.size();
    qsizetype tailB = b.size();
    while (tailA > head && tailB > head && a[tailA - 1] == b[tailB - 1])
        match[--tailA] = --tailB;
    const qsizetype rows = tailA - head;
    const qsizetype columns = tailB - head;
    if (rows > 0 && columns > 0 && (rows > kLongestCompared || columns > kLongestCompared))
        return std::nullopt;
    // longest[i][j]: the longest common subsequence of a's and b's middles from i and j on.
    std::vector<std::vector<int>> longest(rows + 1, std::vector<int>(columns + 1, 0));
    for (qsizetype i = rows - 1; i >= 0; --i) {
        for (qsizetype j = columns - 1; j >= 0; --j)
            longest[i][j] = a[head + i] == b[head + j] ? longest[i + 1][j + 1] + 1
                                                       : std::max(longest[i + 1][j], longest[i][j + 1]);
    }
    for (qsizetype i = 0, j = 0; i < rows && j < columns;) {
        if (a[head + i] == b[head + j])
            match[head + i++] = head + j++;
        else if (longest[i + 1][j] >= longest[i][j + 1])
            ++i;
        else
            ++j;
    }
    return match;
}

// A stretch of the base one side changed: base lines [from, to) became the side's lines.
struct Hunk
{
    qsizetype from;
    qsizetype to;
    QStringList lines;
    bool ours;
};

void addHunks(const std::vector<qsizetype> &match, const QStringList &side, bool ours, std::vector<Hunk> &hunks)
{
    qsizetype from = 0;
    qsizetype at = 0;
    const auto size = qsizetype(match.size());
    for (qsizetype line = 0; line <= size; ++line) {
        if (line < size && match[line] < 0)
            continue;
        const qsizetype kept = line < size ? match[line] : side.size();
        if (line > from || kept > at)
            hunks.push_back({from, line, side.mid(at, kept - at), ours});
        from = line + 1;
        at = kept + 1;
    }
}

bool insertion(const Hunk &hunk) { return hunk.from == hunk.to; }

// Two sides' hunks touching the same lines, or adding at the same place.
bool clash(const Hunk &first, const Hunk &second)
{
    return second.from < first.to || (insertion(first) && insertion(second) && first.from == second.from);
}

// What both sides' clashing changes come to, when they agree or both only add.
std::optional<QStringList> agreed(const Hunk &first, const Hunk &second)
{
    if (first.from == second.from && first.to == second.to && first.lines == second.lines)
        return first.lines;
    if (insertion(first) && insertion(second))
        return first.ours ? first.lines + second.lines : second.lines + first.lines;
    return std::nullopt;
}

} // namespace

std::optional<QStringList> merge(const QStringList &base, const QStringList &ours, const QStringList &theirs)
{
    const auto inOurs = matched(base, ours);
    const auto inTheirs = matched(base, theirs);
    if (!inOurs || !inTheirs)
        return std::nullopt;
    std::vector<Hunk> hunks;
    addHunks(*inOurs, ours, true, hunks);
    addHunks(*inTheirs, theirs, false, hunks);
    std::ranges::stable_sort(hunks, {}, [](const Hunk &hunk) { return std::pair(hunk.from, hunk.to); });
    QStringList merged;
    qsizetype done = 0;
    for (std::size_t i = 0; i < hunks.size(); ++i) {
        const qsizetype from = hunks[i].from;
        QStringList lines = hunks[i].lines;
        qsizetype to = hunks[i].to;
        if (i + 1 < hunks.size() && clash(hunks[i], hunks[i + 1])) {
            const auto both = agreed(hunks[i], hunks[i + 1]);
            if (!both || (i + 2 < hunks.size() && hunks[i + 2].from < std::max(to, hunks[i + 1].to)))
                return std::nullopt;
            lines = *both;
            to = std::max(to, hunks[++i].to);
        }
        merged += base.mid(done, from - done);
        merged += lines;
        done = to;
    }
    return merged + base.mid(done);
}

} // namespace threeway
