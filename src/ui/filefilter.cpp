#include "filefilter.h"

namespace {

// "*.*" means every file, also those without a dot in their name.
QString qtPatterns(const QString &patterns)
{
    QStringList out;
    for (const QString &pattern : patterns.split(u';', Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        if (!trimmed.isEmpty())
            out.append(trimmed == u"*.*" ? QStringLiteral("*") : trimmed);
    }
    return out.join(u' ');
}

} // namespace

QStringList qtNameFilters(const QString &pipeFilter)
{
    const QStringList parts = pipeFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // Qt reads the patterns from the last parentheses, so they follow the
        // description even when it shows patterns of its own.
        filters.append(QStringLiteral("%1 (%2)").arg(parts[i].trimmed(), qtPatterns(parts[i + 1])));
    }
    return filters;
}
