#pragma once

#include <functional>
#include <optional>

namespace printing {

// Draws page after page: `renderFrom` draws a page starting at a text
// position and returns the first position that did not fit; `newPage` starts
// the next sheet. Ends once the text is drawn to `textEnd`, or as soon as a
// page does not move on, so a layout that never reaches the end cannot print
// blank pages without end. The number of pages drawn, or nothing when the
// printer refused a new page.
std::optional<int> printPages(int textEnd, const std::function<int(int from)> &renderFrom, const std::function<bool()> &newPage);

} // namespace printing
