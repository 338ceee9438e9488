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

// Both documents hold one block for each of their lines.
std::optional<copymerge::Keep> compare(Dialogs &dialogs, const QString &prompt, QTextDocument &here, QTextDocument &there,
                                       const QStringList &ours, const QStringList &theirs, const QString &otherCaption)
{
    markMissing(here, ours, theirs);
    markMissing(there, theirs, ours);
    const auto chosen = dialogs.compare(QStringLiteral("Changed on two computers"), prompt,
                                        {QStringLiteral("On this computer"), &here}, {otherCaption, &there},
                                        {QStringLiteral("Keep this"), QStringLiteral("Keep the other"), QStringLiteral("Keep both")});
    if (!chosen)
        return std::nullopt;
    return std::array{copymerge::Keep::This, copymerge::Keep::Other, copymerge::Keep::Both}.at(*chosen);
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
    return compare(dialogs, prompt, here, there, *oursSplit, *theirsSplit, otherCaption);
}

std::optional<copymerge::Keep> askLines(Dialogs &dialogs, const QString &prompt, const QStringList &ours, const QStringList &theirs,
                                        const QString &otherCaption)
{
    QTextDocument here, there;
    here.setPlainText(ours.join(u'\n'));
    there.setPlainText(theirs.join(u'\n'));
    return compare(dialogs, prompt, here, there, ours, theirs, otherCaption);
}

} // namespace pagecompare
