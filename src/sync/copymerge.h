#pragma once

#include "conflictcopies.h"

#include "diary/daykeys.h"
#include "diary/outcome.h"

#include <QStringList>

#include <functional>
#include <optional>

class DataRoot;

// Folding a sync tool's copy back into the file it is a copy of, when that
// needs no question: the two hold the same text, one holds all of the
// other, or they changed different lines of a version the history keeps.
// The merged text is a save, which keeps the file's own version first; the
// copy then joins the file's history, so neither side is ever deleted.
namespace copymerge {

enum class Result { Merged, Asks, Failed };

// A stored text as lines: read from any file as sealed under the original's
// name, and saved as the original.
struct Lines
{
    std::function<std::optional<QStringList>(const QString &file)> read;
    std::function<Outcome(const QStringList &lines)> save;
};

Lines noteLines(const DataRoot &root, daykeys::MonthDay monthDay);

Result resolve(const DataRoot &root, const conflictcopies::Found &copy, const Lines &lines);

} // namespace copymerge
