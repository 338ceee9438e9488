#include "textmatches.h"

#include <QTextDocument>

#include <algorithm>

namespace textsearch {

namespace {

void appendMatchesOf(const QTextDocument &document, const QString &word, QTextDocument::FindFlags flags, QList<QTextCursor> &found)
{
    int from = 0;
    while (found.size() < kMostMarkedMatches) {
        const QTextCursor at = document.find(word, from, flags);
        if (at.isNull())
            return;
        found.append(at);
        from = at.selectionEnd();
    }
}

} // namespace

QList<QTextCursor> matchesIn(const QTextDocument &document, const QString &term, Options options)
{
    const QStringList words = options.textOnly ? term.split(QLatin1Char(' '), Qt::SkipEmptyParts) : QStringList{term};
    const QTextDocument::FindFlags flags = options.matchCase ? QTextDocument::FindCaseSensitively : QTextDocument::FindFlags();
    QList<QTextCursor> found;
    for (const QString &word : words) {
        if (!word.isEmpty())
            appendMatchesOf(document, word, flags, found);
    }
    // At one place the longer match goes first, so it is the one kept.
    std::sort(found.begin(), found.end(), [](const QTextCursor &a, const QTextCursor &b) {
        return a.selectionStart() != b.selectionStart() ? a.selectionStart() < b.selectionStart() : a.selectionEnd() > b.selectionEnd();
    });
    QList<QTextCursor> apart;
    for (const QTextCursor &match : std::as_const(found)) {
        if (apart.isEmpty() || match.selectionStart() >= apart.last().selectionEnd())
            apart.append(match);
    }
    return apart.mid(0, kMostMarkedMatches);
}

} // namespace textsearch
