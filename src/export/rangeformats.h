#pragma once

#include "rangeexport.h"
#include "rangepages.h"

#include <vector>

// The writers of each format behind exportRange, given the range's days;
// each leaves out a page it cannot read and adds its day key to unread.
namespace rangeexport {

Outcome exportMarkdown(const DataRoot &root, const std::vector<Day> &days, const Request &request, const Progress &progress,
                       QStringList &unread);
Outcome exportPdf(const DataRoot &root, const std::vector<Day> &days, const QString &out, const Progress &progress,
                  QStringList &unread);

} // namespace rangeexport
