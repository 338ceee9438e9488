#pragma once

#include <QStringList>

#include <optional>

// Merging two versions of a text made on two computers, line by line (a
// page's paragraphs, a note's lines). A merge keeps every line either side
// added; it fails rather than guess when both changed the same lines, or
// when a side's only change there was to remove lines, since a removal is
// the one change a merge could make by mistake and lose words with.
namespace threeway {

// With the version both started from: each side's changes where the other
// left the lines alone; both sides' additions at the same place, ours first.
// A change that leaves fewer lines than it replaced counts as a removal.
// clashed tells whether both sides changed the same lines: an older version
// taken as the base would only make the same change look like additions.
std::optional<QStringList> merge(const QStringList &base, const QStringList &ours, const QStringList &theirs,
                                 bool *clashed = nullptr);

// Without it: the side that holds every line of the other in order.
std::optional<QStringList> containing(const QStringList &ours, const QStringList &theirs);

// Texts that both still hold more than this many lines past their shared
// start and end are not compared: the table comparing them grows with the
// square of their lengths.
inline constexpr qsizetype kLongestCompared = 2000;

} // namespace threeway
