#include "pageloop.h"

namespace printing {

std::optional<int> printPages(int textEnd, const std::function<int(int from)> &renderFrom, const std::function<bool()> &newPage)
{
    int pages = 0;
    for (int from = 0;;) {
        const int next = renderFrom(from);
        ++pages;
        if (next >= textEnd || next <= from)
            return pages;
        if (!newPage())
            return std::nullopt;
        from = next;
    }
}

} // namespace printing
