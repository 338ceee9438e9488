#include "rtfwriter.h"

#include "picture.h"
#include "rtfstyletable.h"
#include "rule.h"
#include "twips.h"

#include "diary/codepage.h"

#include <QTextBlock>
#include <QTextDocument>

namespace richtext {

namespace {

constexpr qsizetype kHexLineBytes = 64;
constexpr char kHexDigits[] = "0123456789abcdef";

class RtfWriter
{
public:
    explicit RtfWriter(const QTextDocument &document) : m_document(document), m_styles(document) {}
    QByteArray write();

private:
    void header();
    void paragraph(const QTextBlock &block);
    void paragraphFormat(const QTextBlockFormat &format);
    void run(const QTextCharFormat &format, QStringView text);
    void changeTo(const RunStyle &style);
    void picture(const QTextImageFormat &format);
    void hexLines(QByteArrayView bytes);
    void escaped(QStringView text);
    void character(char16_t c);
    void controlWord(const char *name);
    void controlWord(const char *name, qint64 value);
    void literal(char c);

    const QTextDocument &m_document;
    StyleTable m_styles;
    RunStyle m_state;
    bool m_afterWord = false;
    QByteArray m_out;
};

QByteArray RtfWriter::write()
{
    m_out.reserve(m_document.characterCount() * 11 / 10 + 256);
    header();
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next())
        paragraph(block);
    m_out += '}';
    return m_out;
}

void RtfWriter::header()
{
    m_out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl";
    for (qsizetype i = 0; i < m_styles.fonts().size(); ++i) {
        m_out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
        m_afterWord = false;
        escaped(m_styles.fonts()[i]);
        m_out += ";}";
    }
    m_out += "}\r\n";
    if (!m_styles.colors().isEmpty()) {
        m_out += "{\\colortbl ;";
        for (const QColor &color : m_styles.colors()) {
            m_out += "\\red" + QByteArray::number(color.red()) + "\\green" + QByteArray::number(color.green())
                     + "\\blue" + QByteArray::number(color.blue()) + ';';
        }
        m_out += "}\r\n";
    }
    m_out += "\\viewkind4\\uc1";
    m_afterWord = true;
}

void RtfWriter::paragraph(const QTextBlock &block)
{
    paragraphFormat(block.blockFormat());
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QTextCharFormat format = fragment.charFormat();
        if (format.isImageFormat()) {
            for (qsizetype i = 0; i < fragment.length(); ++i)
                picture(format.toImageFormat());
        } else {
            run(format, fragment.text());
        }
    }
    if (block.length() == 1)
        changeTo(m_styles.style(block.charFormat()));
    controlWord("par");
    m_out += "\r\n";
    m_afterWord = false;
}

void RtfWriter::paragraphFormat(const QTextBlockFormat &format)
{
    controlWord("pard");
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        controlWord("qc");
    else if (alignment & Qt::AlignRight)
        controlWord("qr");
    else if (alignment & Qt::AlignJustify)
        controlWord("qj");
    const auto twips = [](qreal pixels) { return qRound64(pixels * kTwipsPerPixel); };
    if (format.leftMargin() != 0)
        controlWord("li", twips(format.leftMargin()));
    if (format.rightMargin() != 0)
        controlWord("ri", twips(format.rightMargin()));
    if (format.textIndent() != 0)
        controlWord("fi", twips(format.textIndent()));
    if (format.topMargin() != 0)
        controlWord("sb", twips(format.topMargin()));
    if (format.bottomMargin() != 0)
        controlWord("sa", twips(format.bottomMargin()));
    // A single half-point border a point below the text, as word processors write a rule.
    if (hasRule(format)) {
        controlWord("brdrb");
        controlWord("brdrs");
        controlWord("brdrw", 10);
        controlWord("brsp", 20);
    }
}

// Colours go in a group of their own, since some readers misread \cf0.
void RtfWriter::run(const QTextCharFormat &format, QStringView text)
{
    const RunStyle style = m_styles.style(format);
    changeTo(style);
    const bool colored = style.foreground > 0 || style.background > 0;
    if (colored) {
        literal('{');
        if (style.foreground > 0)
            controlWord("cf", style.foreground);
        if (style.background > 0)
            controlWord("highlight", style.background);
    }
    escaped(text);
    if (colored)
        literal('}');
}

void RtfWriter::changeTo(const RunStyle &style)
{
    if (style.font != m_state.font)
        controlWord("f", style.font);
    if (style.halfPoints != m_state.halfPoints)
        controlWord("fs", style.halfPoints);
    if (style.bold != m_state.bold)
        style.bold ? controlWord("b") : controlWord("b", 0);
    if (style.italic != m_state.italic)
        style.italic ? controlWord("i") : controlWord("i", 0);
    if (style.underline != m_state.underline)
        controlWord(style.underline ? "ul" : "ulnone");
    if (style.strike != m_state.strike)
        style.strike ? controlWord("strike") : controlWord("strike", 0);
    if (style.unchecked != m_state.unchecked)
        style.unchecked ? controlWord("noproof") : controlWord("noproof", 0);
    m_state = style;
    m_state.foreground = m_state.background = 0;
}

void RtfWriter::picture(const QTextImageFormat &format)
{
    const auto stored = storedPicture(m_document, format);
    if (!stored)
        return;
    literal('{');
    controlWord("pict");
    if (stored->kind == StoredPicture::Kept) {
        m_out += stored->keptHeader;
    } else {
        controlWord(stored->kind == StoredPicture::Png ? "pngblip" : "jpegblip");
        const QSizeF shown = format.width() > 0 && format.height() > 0 ? QSizeF(format.width(), format.height())
                                                                      : QSizeF(stored->pixels);
        controlWord("picw", stored->pixels.width());
        controlWord("pich", stored->pixels.height());
        controlWord("picwgoal", qRound64(shown.width() * kTwipsPerPixel));
        controlWord("pichgoal", qRound64(shown.height() * kTwipsPerPixel));
    }
    m_out += "\r\n";
    hexLines(stored->bytes);
    literal('}');
}

void RtfWriter::hexLines(QByteArrayView bytes)
{
    const qsizetype lines = (bytes.size() + kHexLineBytes - 1) / kHexLineBytes;
    const qsizetype start = m_out.size();
    m_out.resize(start + bytes.size() * 2 + std::max<qsizetype>(lines - 1, 0) * 2);
    char *to = m_out.data() + start;
    // Line by line, so the inner loop is nothing but digits: a photograph is megabytes of them.
    for (qsizetype line = 0; line < bytes.size(); line += kHexLineBytes) {
        if (line > 0) {
            *to++ = '\r';
            *to++ = '\n';
        }
        for (const char byte : bytes.sliced(line, std::min(kHexLineBytes, bytes.size() - line))) {
            const auto b = uchar(byte);
            *to++ = kHexDigits[b >> 4];
            *to++ = kHexDigits[b & 15];
        }
    }
}

void RtfWriter::escaped(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i)
        character(text[i].unicode());
}

void RtfWriter::character(char16_t c)
{
    if (c >= 0x20 && c < 0x80) {
        if (m_afterWord)
            m_out += ' ';
        m_afterWord = false;
        if (c == '\\' || c == '{' || c == '}')
            m_out += '\\';
        m_out += char(c);
        return;
    }
    if (c == u'\t' || c == u'\u2028') {
        controlWord(c == u'\t' ? "tab" : "line");
        return;
    }
    if (c == u'\uFFFC')
        return;
    if (const int byte = codepage::byteOf(c); byte >= 0x80) {
        m_out += "\\'";
        m_out += kHexDigits[byte >> 4];
        m_out += kHexDigits[byte & 15];
    } else {
        m_out += "\\u" + QByteArray::number(qint16(c)) + '?';
    }
    m_afterWord = false;
}

void RtfWriter::controlWord(const char *name)
{
    m_out += '\\';
    m_out += name;
    m_afterWord = true;
}

void RtfWriter::controlWord(const char *name, qint64 value)
{
    controlWord(name);
    m_out += QByteArray::number(value);
}

void RtfWriter::literal(char c)
{
    m_out += c;
    m_afterWord = false;
}

} // namespace

QByteArray writeRtf(const QTextDocument &document)
{
    return RtfWriter(document).write();
}

} // namespace richtext
