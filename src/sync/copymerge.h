#pragma once

#include "conflictcopies.h"

#include "diary/daykeys.h"
#include "diary/outcome.h"

#include <QStringList>

#include <functional>
#include <optional>

class DataRoot;

// Folding a sync tool's copy back into the file it is a copy of, when that
// needs no question: the two hold the same text, or they changed different
// lines of the nearest version both grew from, as the history's lineage
// tells it. Without such a version nothing is merged.
// The merged text is a save, which keeps the file's own version first; the
// copy then joins the file's history, so neither side is ever deleted.
namespace copymerge {

enum class Result { Merged, Asks, Failed };

// A stored text as lines: read from any file as sealed under the original's
// name, and saved as the original; heading makes the lines that set the
// other's text apart, below ours, from the heading's plain text.
struct Lines
{
    std::function<std::optional<QStringList>(const QString &file)> read;
    std::function<Outcome(const QStringList &lines)> save;
    std::function<QStringList(const QString &text)> heading;
};

Lines noteLines(const DataRoot &root, daykeys::MonthDay monthDay);

// One side of a merge: its lines and the ancestry id of the stored version
// they are (stored) or grew from.
struct Side
{
    QStringList lines;
    QString from;
    bool stored = true;
};

// Both sides' lines as one, over the stored file's earlier versions; nothing
// when that needs a question.
std::optional<QStringList> merge(const DataRoot &root, const QString &file, const Lines &lines, const Side &ours,
                                 const Side &theirs);

Result resolve(const DataRoot &root, const conflictcopies::Found &copy, const Lines &lines);

// The user's answer for a copy that needs one. Both keeps the other text
// below a heading; whatever is not kept joins the history.
enum class Keep { This, Other, Both };

Outcome settle(const DataRoot &root, const conflictcopies::Found &copy, const Lines &lines, Keep keep,
               const QString &heading);
// Ours, then the heading's lines and theirs.
QStringList bothKept(const QStringList &ours, const QStringList &theirs, const Lines &lines, const QString &heading);

// The heading above the copy's text: where and when, as far as the copy's
// name tells.
QString otherHeading(const conflictnames::Copy &name);
// Above the copy's side of a comparison.
QString otherCaption(const conflictnames::Copy &name);
// Whether the copy's name shows it holds another computer's text rather than
// perhaps this one's own.
bool fromOtherComputer(const conflictnames::Copy &name);

} // namespace copymerge
