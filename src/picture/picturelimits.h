#pragma once

#include "richtext/rtflimits.h"

#include <QSize>

namespace picture {

// The picture window loads and makes only pictures within the page reader's
// own bounds, so whatever is pasted comes back when the page is reopened, and
// no photograph can take the desktop's memory.
inline constexpr int kLargestMegabytes = richtext::limits::kImageMegabytes;

bool withinLimits(QSize size);

} // namespace picture
