#include "rtftext.h"

#include "rtfcodepages.h"
#include "rtfcontrolwords.h"
#include "rtflimits.h"
#include "rtftokenizer.h"
#include "rtfunstorable.h"

#include "diary/codepage.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <utility>
#include <vector>

// This walks the tokens the way RtfParser does and keeps only the state that
// can change the text: which bytes are text, in which code page, where a run
// of one format or a paragraph ends. Each step names the parser's step it
// follows, so the two stay equal; the differential test checks they do.
namespace richtext {

namespace {

constexpr char16_t kParagraph = u'\n';

// How a character comes out of QTextCursor::insertText() and then
// QTextDocument::toPlainText(): block separators and line separators as
// newlines, a no-break space as a space.
enum class Shown : uchar { Same, Newline, CarriageReturn, LineFeed, Space, Dropped };

constexpr Shown shown(char16_t c)
{
    switch (c) {
    case 0:
    case 0xFFFC: return Shown::Dropped;
    case u'\r': return Shown::CarriageReturn;
    case u'\n': return Shown::LineFeed;
    case 0x2028:
    case 0x2029:
    case 0xFDD0:
    case 0xFDD1: return Shown::Newline;
    case 0xA0: return Shown::Space;
    default: return Shown::Same;
    }
}

// Windows-1252 bytes as they are shown; 0 where a byte needs shown().
const std::array<char16_t, 256> &westernShown()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char16_t c = codepage::characters()[size_t(b)];
            t[size_t(b)] = shown(c) == Shown::Same ? c : 0;
        }
        return t;
    }();
    return table;
}

constexpr std::array<bool, 256> kHexDigit = [] {
    std::array<bool, 256> digits{};
    for (const char c : {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 'a', 'b', 'c', 'd', 'e', 'f', 'A', 'B', 'C',
                         'D', 'E', 'F'})
        digits[uchar(c)] = true;
    return digits;
}();

// RtfPictureData's size bookkeeping without its bytes: all the text needs to
// know of a picture is whether it was too large to be kept.
struct PictureSize
{
    qsizetype size = 0;
    bool pendingNibble = false;
    bool tooLarge = false;

    bool fits(qsizetype more)
    {
        tooLarge = tooLarge || size + more > limits::kPictureBytes;
        if (tooLarge)
            size = 0;
        return !tooLarge;
    }
    void appendHex(QByteArrayView digits)
    {
        if (!fits(digits.size() / 2 + 1))
            return;
        qsizetype count = pendingNibble ? 1 : 0;
        for (const char c : digits)
            count += kHexDigit[uchar(c)];
        size += count / 2;
        pendingNibble = count % 2 != 0;
    }
    void appendBinary(QByteArrayView bytes)
    {
        if (!fits(bytes.size()))
            return;
        pendingNibble = false;
        size += bytes.size();
    }
};

class TextExtractor
{
public:
    explicit TextExtractor(QByteArrayView rtf) : m_tokens(rtf)
    {
        m_groups.reserve(64);
        m_groups.emplace_back();
        m_text.reserve(rtf.size() / 2 + 16);
    }
    QString run();

private:
    enum class Destination { Text, Skip, FontTable, ColorTable, Picture };

    // RtfParser::CharState: any change ends a run of text.
    struct CharState
    {
        int font = -1;
        int halfPoints = 24;
        bool bold = false;
        bool italic = false;
        bool strike = false;
        int underline = 0;
        int foreground = -1;
        int background = -1;
        bool operator==(const CharState &) const = default;
    };

    struct Group
    {
        CharState chars;
        Destination destination = Destination::Text;
        int unicodeSkip = 1;
        bool inObject = false;
    };

    void openGroup();
    bool closeGroup();
    void text(QByteArrayView bytes);
    void symbol(uchar value);
    bool skipping(const RtfToken &token);
    void appendCharacter(char16_t character);
    void flushBytes();
    void syncFormat();
    QByteArray codePage() const;
    void finish();
    Group &top() { return m_groups.back(); }
    const Group &top() const { return m_groups.back(); }

    void word(const RtfToken &token);
    bool destinationWord(Control control);
    void fontTableWord(Control control, int value);
    bool characterWord(const ControlWord &word, int value, bool on);
    void documentWord(Control control, int value);
    void endFontName();
    void endPicture();

    // DocumentBuilder's side, reduced to the plain text.
    void show(QStringView decoded);
    void showWestern(QByteArrayView bytes);
    void showOne(char16_t c);
    void startParagraph();
    void endRun() { m_afterCarriageReturn = false; }
    void endParagraph();

    RtfTokenizer m_tokens;
    CodePageDecoder m_decoder;
    std::vector<Group> m_groups;
    int m_overflowDepth = 0;
    bool m_starred = false;
    int m_skipCount = 0;
    QByteArray m_bytes;
    QByteArray m_bytesCodePage;
    bool m_bytesWestern = true;
    std::optional<CharState> m_runState;
    QByteArray m_documentCodePage = codepage::kName;
    int m_defaultFont = 0;
    std::map<int, QByteArray> m_fontCodePages;
    int m_fontEntry = -1;
    QByteArray m_fontName;
    PictureSize m_picture;
    size_t m_pictureDepth = 0;

    QString m_text;
    QString m_decoded;
    bool m_paragraphEnded = false;
    // insertText() reads "\r\n" within one run as one paragraph break.
    bool m_afterCarriageReturn = false;
};

QString TextExtractor::run()
{
    for (;;) {
        const RtfToken token = m_tokens.next();
        if (skipping(token))
            continue;
        switch (token.kind) {
        case RtfToken::End:
            finish();
            return std::move(m_text);
        case RtfToken::Open:
            openGroup();
            break;
        case RtfToken::Close:
            if (closeGroup()) {
                finish();
                return std::move(m_text);
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
            if (top().destination == Destination::Picture)
                m_picture.appendBinary(token.bytes);
            break;
        }
    }
}

bool TextExtractor::skipping(const RtfToken &token)
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

void TextExtractor::openGroup()
{
    m_starred = false;
    if (m_overflowDepth > 0 || int(m_groups.size()) > limits::kGroupDepth) {
        ++m_overflowDepth;
        return;
    }
    const Group inner = top();
    m_groups.push_back(inner);
}

bool TextExtractor::closeGroup()
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

void TextExtractor::text(QByteArrayView bytes)
{
    switch (top().destination) {
    case Destination::Text:
        syncFormat();
        // Windows-1252 keeps no state between bytes, so it can be shown at
        // once; other code pages are decoded where the parser decodes them.
        if (m_bytesWestern)
            showWestern(bytes);
        else
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
    case Destination::Picture:
        m_picture.appendHex(bytes);
        break;
    case Destination::ColorTable:
    case Destination::Skip:
        break;
    }
}

void TextExtractor::symbol(uchar value)
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

void TextExtractor::appendCharacter(char16_t character)
{
    if (top().destination != Destination::Text || isUnstorable(QChar(character)))
        return;
    syncFormat();
    flushBytes();
    showOne(character);
}

void TextExtractor::flushBytes()
{
    if (m_bytes.isEmpty())
        return;
    m_decoded.resize(0);
    m_decoder.append(m_decoded, m_bytes, m_bytesCodePage);
    show(m_decoded);
    m_bytes.resize(0);
}

void TextExtractor::syncFormat()
{
    if (m_runState == top().chars)
        return;
    flushBytes();
    m_runState = top().chars;
    m_bytesCodePage = codePage();
    m_bytesWestern = m_bytesCodePage.isEmpty() || m_bytesCodePage == codepage::kName;
    endRun();
}

QByteArray TextExtractor::codePage() const
{
    const auto font = m_fontCodePages.find(top().chars.font >= 0 ? top().chars.font : m_defaultFont);
    return font != m_fontCodePages.end() && !font->second.isEmpty() ? font->second : m_documentCodePage;
}

void TextExtractor::finish()
{
    if (m_pictureDepth > 0)
        endPicture();
    flushBytes();
}

void TextExtractor::word(const RtfToken &token)
{
    const ControlWord known = controlWord(token.bytes);
    const int value = token.parameter;
    if (std::exchange(m_starred, false) && !isDestination(known.control)) {
        top().destination = Destination::Skip;
        return;
    }
    switch (top().destination) {
    case Destination::Skip:
        if (known.control == Control::Result && top().inObject)
            top().destination = Destination::Text;
        return;
    case Destination::FontTable:
        fontTableWord(known.control, value);
        return;
    case Destination::ColorTable:
    case Destination::Picture:
        return;
    case Destination::Text:
        break;
    }
    if (known.control == Control::Paragraph) {
        syncFormat();
        flushBytes();
        endParagraph();
        return;
    }
    if (destinationWord(known.control) || characterWord(known, value, !token.hasParameter || value != 0))
        return;
    documentWord(known.control, value);
}

bool TextExtractor::destinationWord(Control control)
{
    switch (control) {
    case Control::FontTable:
        top().destination = Destination::FontTable;
        m_fontEntry = -1;
        m_fontName.clear();
        return true;
    case Control::ColorTable:
        top().destination = Destination::ColorTable;
        return true;
    case Control::Skip:
        top().destination = Destination::Skip;
        return true;
    case Control::Picture:
        top().destination = Destination::Picture;
        m_picture = {};
        m_pictureDepth = m_groups.size();
        return true;
    case Control::Object:
        top().destination = Destination::Skip;
        top().inObject = true;
        return true;
    case Control::ShapePicture:
    case Control::Result:
        return true;
    default:
        return false;
    }
}

void TextExtractor::fontTableWord(Control control, int value)
{
    if (control == Control::Font) {
        endFontName();
        m_fontEntry = value;
        return;
    }
    if (control != Control::FontCharset && control != Control::FontCodePage)
        return;
    if (m_fontEntry < 0
        || (m_fontCodePages.size() >= size_t(limits::kTableEntries) && !m_fontCodePages.contains(m_fontEntry)))
        return;
    m_fontCodePages[m_fontEntry] = control == Control::FontCharset ? charsetCodePage(value) : windowsCodePage(value);
}

// The name itself is not text, but the parser decodes it, and a code page
// such as Shift_JIS carries a half-read character from one decoding to the next.
void TextExtractor::endFontName()
{
    const QByteArray bytes = std::exchange(m_fontName, {});
    if (m_fontEntry < 0 || bytes.trimmed().isEmpty())
        return;
    if (m_fontCodePages.size() >= size_t(limits::kTableEntries) && !m_fontCodePages.contains(m_fontEntry))
        return;
    const QByteArray &fontCodePage = m_fontCodePages[m_fontEntry];
    QString name;
    m_decoder.append(name, bytes, fontCodePage.isEmpty() ? m_documentCodePage : fontCodePage);
}

void TextExtractor::endPicture()
{
    m_pictureDepth = 0;
    if (std::exchange(m_picture, {}).tooLarge)
        return;
    syncFormat();
    flushBytes();
    // The picture's U+FFFC is not shown, but it fills its paragraph.
    endRun();
    startParagraph();
}

bool TextExtractor::characterWord(const ControlWord &word, int value, bool on)
{
    CharState &chars = top().chars;
    switch (word.control) {
    case Control::Plain: chars = CharState{}; break;
    case Control::Font: chars.font = value; break;
    case Control::FontSize:
        if (value > 0)
            chars.halfPoints = std::clamp(value, 2, 3276);
        break;
    case Control::Bold: chars.bold = on; break;
    case Control::Italic: chars.italic = on; break;
    case Control::Strike: chars.strike = on; break;
    case Control::Underline: chars.underline = on ? 1 : 0; break;
    case Control::UnderlineDotted: chars.underline = on ? 2 : 0; break;
    case Control::UnderlineOff: chars.underline = 0; break;
    case Control::ForeColor: chars.foreground = value; break;
    case Control::BackColor: chars.background = value; break;
    case Control::UnicodeSkip: top().unicodeSkip = std::clamp(value, 0, limits::kUnicodeSkip); break;
    case Control::Unicode:
        if (value >= -32768 && value <= 65535)
            appendCharacter(char16_t(value < 0 ? value + 65536 : value));
        m_skipCount = top().unicodeSkip;
        break;
    case Control::Character: appendCharacter(word.character); break;
    default: return false;
    }
    return true;
}

void TextExtractor::documentWord(Control control, int value)
{
    switch (control) {
    case Control::AnsiCodePage: m_documentCodePage = windowsCodePage(value); break;
    case Control::MacCodePage: m_documentCodePage = "macintosh"; break;
    case Control::PcCodePage: m_documentCodePage = "IBM437"; break;
    case Control::PcaCodePage: m_documentCodePage = "IBM850"; break;
    case Control::DefaultFont: m_defaultFont = value; break;
    default: break;
    }
}

// A paragraph mark only ends its paragraph; the newline comes with whatever follows.
void TextExtractor::startParagraph()
{
    if (std::exchange(m_paragraphEnded, false))
        m_text.append(kParagraph);
}

void TextExtractor::endParagraph()
{
    endRun();
    startParagraph();
    m_paragraphEnded = true;
}

void TextExtractor::showOne(char16_t c)
{
    const Shown how = shown(c);
    if (how == Shown::Dropped)
        return;
    startParagraph();
    const bool afterCarriageReturn = std::exchange(m_afterCarriageReturn, how == Shown::CarriageReturn);
    switch (how) {
    case Shown::Same: m_text.append(QChar(c)); break;
    case Shown::Dropped: break;
    case Shown::Space: m_text.append(u' '); break;
    case Shown::LineFeed:
        if (!afterCarriageReturn)
            m_text.append(kParagraph);
        break;
    case Shown::Newline:
    case Shown::CarriageReturn: m_text.append(kParagraph); break;
    }
}

void TextExtractor::show(QStringView decoded)
{
    for (const QChar c : decoded)
        showOne(c.unicode());
}

void TextExtractor::showWestern(QByteArrayView bytes)
{
    const auto &table = westernShown();
    const uchar *in = reinterpret_cast<const uchar *>(bytes.data());
    const uchar *const end = in + bytes.size();
    while (in != end) {
        const uchar *plain = in;
        while (plain != end && table[*plain] != 0)
            ++plain;
        if (plain != in) {
            startParagraph();
            m_afterCarriageReturn = false;
            const qsizetype start = m_text.size();
            m_text.resize(start + (plain - in));
            char16_t *out = reinterpret_cast<char16_t *>(m_text.data()) + start;
            for (; in != plain; ++in)
                *out++ = table[*in];
        }
        if (in != end)
            showOne(codepage::characters()[*in++]);
    }
}

} // namespace

QString visibleText(QByteArrayView rtf)
{
    return TextExtractor(rtf).run();
}

} // namespace richtext
