#include "entrybody.h"

#include "storabletext.h"

#include <QTextDocument>

namespace diaryimport {

void readEntryBody(const Entry &entry, QTextDocument &body)
{
    sizeDefaultFont(body);
    switch (entry.markup) {
    case Entry::Markup::Markdown:
        body.setMarkdown(entry.text);
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
