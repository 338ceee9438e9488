#pragma once

#include "rangeexport.h"
#include "rangepages.h"

#include <vector>

// The writers of each format behind exportRange, given the range's days.
namespace rangeexport {

Outcome exportMarkdown(const DataRoot &root, const std::vector<Day> &days, const Request &request, const Progress &progress);
Outcome exportPdf(const DataRoot &root, const std::vector<Day> &days, const QString &out, const Progress &progress);

} // namespace rangeexport
