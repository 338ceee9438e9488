#pragma once

#include "copymerge.h"

// How a found copy and its original read as lines: a page by its paragraphs,
// a note by its lines. Nothing for the password file, and for a copy that
// does not open as its original, which are never merged.
namespace copylines {

std::optional<copymerge::Lines> of(const DataRoot &root, const conflictcopies::Found &copy);

// What merges with no question, as the tool and a sign-in do it: the copies
// merged, in the order found.
QList<conflictcopies::Found> mergeAll(const DataRoot &root, const QList<conflictcopies::Found> &copies);

} // namespace copylines
