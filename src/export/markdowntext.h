#pragma once

#include <QString>
#include <QStringView>

// Text put into Markdown so that a reader gives back the same characters:
// whatever could start a mark, a link, raw HTML or math is escaped, and so
// is what would make a line into a heading, a list, a quote or a rule.
namespace markdown {

// `lineStart`: the text begins a line of the Markdown file.
QString escaped(QStringView text, bool lineStart);

} // namespace markdown
