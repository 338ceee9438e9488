#pragma once

#include "entry.h"

#include "diary/dataroot.h"
#include "richtext/rtflimits.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace diaryimport {

// The most text a day's page is built from, in bytes: no more characters
// than a page holds, so a larger day would only be built to be refused.
// A day file or an entry larger than this is refused before it is read, and
// a day whose entries come to more fails without its page being built.
inline constexpr qsizetype kLargestDayText = richtext::limits::kPageCharacters;

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
    // Why pictures of its entries were left out ("export.zip/photos/a.png:
    // larger than 80 MiB ...").
    QStringList refusedPictures;
};

// Hears each day done (done, total); false stops the import there.
using Progress = std::function<bool(int done, int total)>;

// Stores the entries as pages, one page a day, oldest day first. Several
// entries of a day become one page, in the order of their times, each headed
// by its time. A day that has a page keeps it: the day's entries go below a
// line under it, or the day is left alone. An import that was stopped is
// finished by running it again: the days it stored are neither stored twice
// nor reported again.
// Why the import cannot run in this diary: the record a stopped run of it
// left does not fit it. importEntries then stores nothing.
std::optional<QString> unfitRecord(const DataRoot &root, const std::vector<Entry> &entries);

std::vector<DayReport> importEntries(const DataRoot &root, const std::vector<Entry> &entries, Existing existing,
                                     const Progress &progress = {});

} // namespace diaryimport
