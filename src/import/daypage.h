#pragma once

#include "entry.h"

#include <QStringList>

#include <vector>

class QTextDocument;

namespace diaryimport {

// Appends a day's entries, in the order given, to its page: each below a
// line when something comes before it, headed by its time when it has one,
// its title as a bold first line. Returns why picture files were
// refused.
QStringList appendEntries(QTextDocument &page, const std::vector<const Entry *> &entries);

} // namespace diaryimport
