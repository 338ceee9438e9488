#include "markdowntext.h"

namespace markdown {

namespace {

// Marks, links, code, raw HTML, math, tables, sub- and superscript and
// attributes, wherever they stand.
bool alwaysEscaped(QChar c)
{
    static const QString kCharacters = QStringLiteral("\\`*[]<~|$^{");
    return kCharacters.contains(c);
}

// An underscore between two letters or digits opens no emphasis, so a #my_tag
// or a file_name is written as it is.
bool escapedUnderscore(QStringView text, qsizetype at)
{
    return text[at] == u'_' && !(at > 0 && at + 1 < text.size() && text[at - 1].isLetterOrNumber() && text[at + 1].isLetterOrNumber());
}

// What opens a heading, a quote, a list, a rule, a definition or an example
// list only at the start of a line. A "#" opens a heading only before a space
// or the line's end, so a #tag beginning a line stays a tag.
bool escapedAtLineStart(QStringView text)
{
    static const QString kCharacters = QStringLiteral(">+-=:(");
    if (text[0] != u'#')
        return kCharacters.contains(text[0]);
    return text.size() == 1 || text[1] == u'#' || text[1].isSpace();
}

bool isAsciiAlnum(QChar c)
{
    return c.unicode() < 0x80 && c.isLetterOrNumber();
}

// "12." or "iv)" or "b." at a line's start reads as a list item.
qsizetype listMarkerEnd(QStringView text)
{
    qsizetype at = 0;
    while (at < text.size() && isAsciiAlnum(text[at]))
        ++at;
    if (at == 0 || at >= text.size())
        return -1;
    return text[at] == u'.' || text[at] == u')' ? at : -1;
}

// "&amp;" or "&#42;" would read as the character it names.
bool startsEntity(QStringView text, qsizetype at)
{
    return text[at] == u'&' && at + 1 < text.size() && (text[at + 1] == u'#' || isAsciiAlnum(text[at + 1]));
}

} // namespace

QString escaped(QStringView text, bool lineStart)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    const qsizetype marker = lineStart ? listMarkerEnd(text) : -1;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const QChar c = text[at];
        if (alwaysEscaped(c) || escapedUnderscore(text, at) || startsEntity(text, at) || (at == 0 && lineStart && escapedAtLineStart(text)) || at == marker)
            out += u'\\';
        out += c;
    }
    return out;
}

} // namespace markdown
