#include "daypage.h"

#include "entrybody.h"
#include "entrypictures.h"
#include "entrytags.h"

#include "richtext/pagecontent.h"
#include "richtext/rule.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace diaryimport {

namespace {

// An empty last paragraph is used, so a new page has no blank first line.
void startParagraph(QTextCursor &cursor)
{
    cursor.movePosition(QTextCursor::End);
    if (cursor.block().length() > 1)
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.setBlockFormat(QTextBlockFormat());
    cursor.setBlockCharFormat(QTextCharFormat());
    cursor.setCharFormat(QTextCharFormat());
}

void appendBoldLine(QTextCursor &cursor, const QString &text)
{
    startParagraph(cursor);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(text, bold);
}

// A drawn line, not characters, so it spans the page at any width and never
// wraps. It has its paragraph to itself: what follows starts below it.
void appendLine(QTextCursor &cursor)
{
    startParagraph(cursor);
    QTextBlockFormat ruled;
    richtext::setRule(ruled);
    cursor.setBlockFormat(ruled);
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
}

// A fragment leaves its first paragraph's format behind, so it is set again.
// The body's text, to know the tags it writes.
QString appendBody(QTextCursor &cursor, const Entry &entry, QStringList &refused)
{
    QTextDocument body;
    readEntryBody(entry, body);
    if (body.isEmpty())
        return {};
    startParagraph(cursor);
    const int start = cursor.position();
    cursor.insertFragment(QTextDocumentFragment(&body));
    QTextCursor first(cursor.document());
    first.setPosition(start);
    first.setBlockFormat(body.begin().blockFormat());
    embedPictures(*cursor.document(), start, cursor.position(), entry, refused);
    return body.toPlainText();
}

// The other diary's tags, as a last paragraph a tag search finds.
void appendTags(QTextCursor &cursor, const Entry &entry, const QString &body)
{
    const QString tags = tagLine(entry.tags, entry.title + u'\n' + body);
    if (tags.isEmpty())
        return;
    startParagraph(cursor);
    cursor.insertText(tags);
}

} // namespace

QStringList appendEntries(QTextDocument &page, const std::vector<const Entry *> &entries)
{
    QStringList refused;
    QTextCursor cursor(&page);
    bool first = !richtext::hasContent(page);
    for (const Entry *entry : entries) {
        if (!first)
            appendLine(cursor);
        first = false;
        if (entry->time)
            appendBoldLine(cursor, entry->time->toString(QStringLiteral("HH:mm")));
        if (!entry->title.isEmpty())
            appendBoldLine(cursor, entry->title);
        appendTags(cursor, *entry, appendBody(cursor, *entry, refused));
    }
    return refused;
}

} // namespace diaryimport
