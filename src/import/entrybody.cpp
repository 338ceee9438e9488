#include "entrybody.h"

#include "storabletext.h"

#include <QRegularExpression>
#include <QTextDocument>

namespace diaryimport {

namespace {

// Qt 6.4 makes a Markdown image only from its description, and drops one
// without, as Day One writes every photo: ![](dayone-moment://ID). Such an
// image is described by its address, which is also what a page shows when
// the picture cannot be had.
QString describedImages(QString markdown)
{
    static const QRegularExpression bare(QStringLiteral(R"(!\[\]\(([^\s()<>\[\]]+))"));
    return markdown.replace(bare, QStringLiteral("![\\1](\\1"));
}

} // namespace

// Qt's GitHub dialect sets md4c's underline flag, which makes _a word_ an
// underline; the diaries that write Markdown mean it as italics.
void setMarkdown(QTextDocument &document, const QString &markdown)
{
    constexpr int kUnderscoreUnderlines = 0x4000;
    document.setMarkdown(describedImages(markdown),
                         QTextDocument::MarkdownFeatures(QTextDocument::MarkdownDialectGitHub & ~kUnderscoreUnderlines));
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
