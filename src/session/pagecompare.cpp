#include "pagecompare.h"

#include "richtext/pagecontent.h"
#include "seams/dialogs.h"
#include "sync/pageparagraphs.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace pagecompare {

namespace {

// Paragraphs compare with their formatting, as a merge compares them.
void markMissing(QTextDocument &page, const QStringList &paragraphs, const QStringList &others)
{
    QTextBlockFormat marked;
    marked.setBackground(QColor(255, 236, 140));
    QTextBlock block = page.begin();
    for (const QString &paragraph : paragraphs) {
        if (!others.contains(paragraph))
            QTextCursor(block).mergeBlockFormat(marked);
        block = block.next();
    }
}

} // namespace

std::optional<copymerge::Keep> ask(Dialogs &dialogs, const QString &prompt, QByteArrayView ours, QByteArrayView theirs,
                                   const QString &otherCaption)
{
    QTextDocument here, there;
    const auto oursSplit = pageparagraphs::split(ours);
    const auto theirsSplit = pageparagraphs::split(theirs);
    if (!richtext::loadBytes(ours, here) || !richtext::loadBytes(theirs, there) || !oursSplit || !theirsSplit)
        return std::nullopt;
    markMissing(here, *oursSplit, *theirsSplit);
    markMissing(there, *theirsSplit, *oursSplit);
    const auto chosen = dialogs.compare(QStringLiteral("Changed on two computers"), prompt,
                                        {QStringLiteral("On this computer"), &here}, {otherCaption, &there},
                                        {QStringLiteral("Keep this"), QStringLiteral("Keep the other"), QStringLiteral("Keep both")});
    if (!chosen)
        return std::nullopt;
    return std::array{copymerge::Keep::This, copymerge::Keep::Other, copymerge::Keep::Both}.at(*chosen);
}

} // namespace pagecompare
