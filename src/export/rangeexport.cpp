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

Outcome exportRange(const DataRoot &root, const Request &request, const Progress &progress, QStringList *leftOut)
{
    const std::vector<Day> days = daysInRange(root, request.from, request.to);
    if (days.empty())
        return emptyRange(request.from, request.to);
    QStringList unread;
    const Outcome done = request.format == Format::Markdown ? exportMarkdown(root, days, request, progress, unread)
                                                            : exportPdf(root, days, request.out, progress, unread);
    if (!done || unread.isEmpty())
        return done;
    if (leftOut)
        *leftOut = unread;
    return Outcome::failure(QStringLiteral("the pages of %1 could not be read and were left out of %2").arg(unread.join(QStringLiteral(", ")), request.out));
}

} // namespace rangeexport
