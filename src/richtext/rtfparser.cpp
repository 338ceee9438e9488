#include "rtfparser.h"

#include "rtflimits.h"
#include "rtfunstorable.h"
#include "twips.h"

#include <algorithm>

namespace richtext {

RtfParser::RtfParser(QByteArrayView rtf, QTextDocument &document)
    : m_tokens(rtf), m_document(document), m_builder(document)
{
    m_groups.reserve(64);
    m_groups.emplace_back();
}

void RtfParser::run()
{
    for (;;) {
        const RtfToken token = m_tokens.next();
        if (skipping(token))
            continue;
        switch (token.kind) {
        case RtfToken::End:
            finish();
            return;
        case RtfToken::Open:
            openGroup();
            break;
        case RtfToken::Close:
            if (closeGroup()) {
                finish();
                return;
            }
            break;
        case RtfToken::Word:
            word(token);
            break;
        case RtfToken::Symbol:
            symbol(token.value);
            break;
        case RtfToken::Hex:
            if (token.value != 0
                && (top().destination == Destination::Text || top().destination == Destination::FontTable))
                text(QByteArrayView(reinterpret_cast<const char *>(&token.value), 1));
            break;
        case RtfToken::Text:
            text(token.bytes);
            break;
        case RtfToken::Binary:
            binary(token.bytes);
            break;
        }
    }
}

// After \uN the next \uc units are the fallback for readers without Unicode.
bool RtfParser::skipping(const RtfToken &token)
{
    if (m_skipCount == 0)
        return false;
    if (token.kind == RtfToken::Open || token.kind == RtfToken::Close || token.kind == RtfToken::End) {
        m_skipCount = 0;
        return false;
    }
    if (token.kind == RtfToken::Text) {
        const qsizetype skipped = std::min<qsizetype>(m_skipCount, token.bytes.size());
        m_skipCount -= int(skipped);
        text(token.bytes.sliced(skipped));
        return true;
    }
    --m_skipCount;
    return true;
}

void RtfParser::openGroup()
{
    m_starred = false;
    if (m_overflowDepth > 0 || int(m_groups.size()) > limits::kGroupDepth) {
        ++m_overflowDepth;
        return;
    }
    const Group inner = top();
    m_groups.push_back(inner);
}

// True when the outermost group closed, which ends the document.
bool RtfParser::closeGroup()
{
    m_starred = false;
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return false;
    }
    if (m_groups.size() == 1)
        return false;
    if (top().destination == Destination::FontTable)
        endFontName();
    if (m_groups.size() == m_pictureDepth)
        endPicture();
    m_groups.pop_back();
    return m_groups.size() == 1;
}

void RtfParser::text(QByteArrayView bytes)
{
    switch (top().destination) {
    case Destination::Text:
        syncFormat();
        m_bytes.append(bytes);
        break;
    case Destination::FontTable:
        for (const char c : bytes) {
            if (c == ';')
                endFontName();
            else
                m_fontName.append(c);
        }
        break;
    case Destination::ColorTable:
        for (const char c : bytes) {
            if (c != ';' || m_colors.size() >= size_t(limits::kTableEntries))
                continue;
            m_colors.push_back(m_colorEntryUsed ? std::optional<QColor>(m_colorEntry) : std::nullopt);
            m_colorEntry = QColor(0, 0, 0);
            m_colorEntryUsed = false;
        }
        break;
    case Destination::Picture:
        m_picture.appendHex(bytes);
        break;
    case Destination::Skip:
        break;
    }
}

void RtfParser::symbol(uchar value)
{
    switch (value) {
    case '*':
        m_starred = true;
        break;
    case '~':
        appendCharacter(u'\u00A0');
        break;
    case '-':
        appendCharacter(u'\u00AD');
        break;
    case '_':
        appendCharacter(u'\u2011');
        break;
    case '\\':
    case '{':
    case '}':
        text(QByteArrayView(reinterpret_cast<const char *>(&value), 1));
        break;
    default:
        break;
    }
}

void RtfParser::binary(QByteArrayView bytes)
{
    if (top().destination == Destination::Picture)
        m_picture.appendBinary(bytes);
}

void RtfParser::appendCharacter(char16_t character)
{
    if (top().destination != Destination::Text || isUnstorable(QChar(character)))
        return;
    syncFormat();
    flushBytes();
    m_builder.run().append(QChar(character));
}

void RtfParser::flushBytes()
{
    if (m_bytes.isEmpty())
        return;
    QString &run = m_builder.run();
    const qsizetype start = run.size();
    m_decoder.append(run, m_bytes, m_bytesCodePage);
    run.truncate(std::remove_if(run.begin() + start, run.end(), isUnstorable) - run.begin());
    m_bytes.clear();
}

// Text read from now on takes the group's character state.
void RtfParser::syncFormat()
{
    if (m_runState == top().chars)
        return;
    flushBytes();
    m_runState = top().chars;
    m_bytesCodePage = codePage();
    m_builder.setCharFormat(charFormat());
}

QByteArray RtfParser::codePage() const
{
    const auto font = m_fonts.find(m_groups.back().chars.font >= 0 ? m_groups.back().chars.font : m_defaultFont);
    return font != m_fonts.end() && !font->second.codePage.isEmpty() ? font->second.codePage : m_documentCodePage;
}

QTextCharFormat RtfParser::charFormat() const
{
    const CharState &chars = m_groups.back().chars;
    QTextCharFormat format;
    const auto font = m_fonts.find(chars.font >= 0 ? chars.font : m_defaultFont);
    if (font != m_fonts.end() && !font->second.name.isEmpty())
        format.setFontFamilies({font->second.name});
    format.setFontPointSize(chars.halfPoints / 2.0);
    if (chars.bold)
        format.setFontWeight(QFont::Bold);
    if (chars.italic)
        format.setFontItalic(true);
    if (chars.strike)
        format.setFontStrikeOut(true);
    if (chars.underline)
        format.setUnderlineStyle(chars.underline == 2 ? QTextCharFormat::DotLine : QTextCharFormat::SingleUnderline);
    const auto color = [this](int index) {
        return index >= 0 && size_t(index) < m_colors.size() ? m_colors[size_t(index)] : std::nullopt;
    };
    if (const auto foreground = color(chars.foreground))
        format.setForeground(*foreground);
    if (const auto background = color(chars.background))
        format.setBackground(*background);
    return format;
}

QTextBlockFormat RtfParser::blockFormat() const
{
    const Paragraph &paragraph = m_groups.back().paragraph;
    QTextBlockFormat format;
    format.setAlignment(paragraph.alignment);
    const auto set = [&](int twips, void (QTextBlockFormat::*setter)(qreal)) {
        if (twips != 0)
            (format.*setter)(twips / qreal(kTwipsPerPixel));
    };
    set(paragraph.leftIndent, &QTextBlockFormat::setLeftMargin);
    set(paragraph.rightIndent, &QTextBlockFormat::setRightMargin);
    set(paragraph.firstIndent, &QTextBlockFormat::setTextIndent);
    set(paragraph.spaceBefore, &QTextBlockFormat::setTopMargin);
    set(paragraph.spaceAfter, &QTextBlockFormat::setBottomMargin);
    return format;
}

void RtfParser::finish()
{
    if (m_pictureDepth > 0)
        endPicture();
    flushBytes();
    m_builder.finish(blockFormat());
}

} // namespace richtext
