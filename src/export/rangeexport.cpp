#include "rangeexport.h"

#include "rangeformats.h"

namespace rangeexport {

std::optional<Format> formatNamed(const QString &name)
{
    if (name == QLatin1String("md"))
        return Format::Markdown;
    if (name == QLatin1String("pdf"))
        return Format::Pdf;
    return std::nullopt;
}

Outcome exportRange(const DataRoot &root, const Request &request, const Progress &progress)
{
    const std::vector<Day> days = daysInRange(root, request.from, request.to);
    if (days.empty())
        return emptyRange(request.from, request.to);
    if (request.format == Format::Markdown)
        return exportMarkdown(root, days, request, progress);
    return exportPdf(root, days, request.out, progress);
}

} // namespace rangeexport
