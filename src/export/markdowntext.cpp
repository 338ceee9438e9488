#include "markdowntext.h"

namespace markdown {

namespace {

// Marks, links, code, raw HTML, math, tables, sub- and superscript and
// attributes, wherever they stand.
bool alwaysEscaped(QChar c)
{
    static const QString kCharacters = QStringLiteral("\\`*_[]<~|$^{");
    return kCharacters.contains(c);
}

// What opens a heading, a quote, a list, a rule, a definition or an example
// list only at the start of a line.
bool escapedAtLineStart(QChar c)
{
    static const QString kCharacters = QStringLiteral("#>+-=:(");
    return kCharacters.contains(c);
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
        if (alwaysEscaped(c) || startsEntity(text, at) || (at == 0 && lineStart && escapedAtLineStart(c)) || at == marker)
            out += u'\\';
        out += c;
    }
    return out;
}

} // namespace markdown
