#pragma once

#include "entry.h"

#include "diary/dataroot.h"

#include <QString>

#include <functional>
#include <vector>

namespace diaryimport {

// What happens to a day that already has a page.
enum class Existing { Append, Skip };

struct DayReport
{
    enum class Kind { Created, Appended, Skipped, Failed };

    QString dayKey;
    Kind kind = Kind::Created;
    int entries = 0;
    // Why a day failed.
    QString error;
};

// Stores the entries as pages, one page a day, oldest day first. Several
// entries of a day become one page, in the order of their times, each headed
// by its time. A day that has a page keeps it: the day's entries go below a
// line under it, or the day is left alone. `progress` hears each day done
// (done, total).
std::vector<DayReport> importEntries(const DataRoot &root, const std::vector<Entry> &entries, Existing existing,
                                     const std::function<void(int done, int total)> &progress = {});

} // namespace diaryimport
