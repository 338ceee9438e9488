#include "entrybody.h"

#include "storabletext.h"

#include <QTextDocument>

namespace diaryimport {

// Qt's GitHub dialect sets md4c's underline flag, which makes _a word_ an
// underline; the diaries that write Markdown mean it as italics.
void setMarkdown(QTextDocument &document, const QString &markdown)
{
    constexpr int kUnderscoreUnderlines = 0x4000;
    document.setMarkdown(markdown, QTextDocument::MarkdownFeatures(QTextDocument::MarkdownDialectGitHub & ~kUnderscoreUnderlines));
}

void readEntryBody(const Entry &entry, QTextDocument &body)
{
    sizeDefaultFont(body);
    switch (entry.markup) {
    case Entry::Markup::Markdown:
        setMarkdown(body, entry.text);
        break;
    case Entry::Markup::Html:
        body.setHtml(entry.text);
        break;
    case Entry::Markup::Plain:
        body.setPlainText(entry.text);
        break;
    }
    makeStorable(body);
}

} // namespace diaryimport
