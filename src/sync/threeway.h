#pragma once

#include <QStringList>

#include <optional>

// Merging two versions of a text made on two computers, line by line (a
// page's paragraphs, a note's lines), over the version both started from:
// each side's additions, changes and removals where the other left the lines
// alone, and both sides' additions at the same place, ours first. It fails
// rather than guess when both changed or removed the same lines differently,
// since only the user can say which of the two stays.
namespace threeway {

std::optional<QStringList> merge(const QStringList &base, const QStringList &ours, const QStringList &theirs);

// Texts that both still hold more than this many lines past their shared
// start and end are not compared: the table comparing them grows with the
// square of their lengths.
inline constexpr qsizetype kLongestCompared = 2000;

} // namespace threeway
