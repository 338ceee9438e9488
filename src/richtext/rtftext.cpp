#include "rtftext.h"

#include "rtflimits.h"
#include "rtfwalk.h"

#include "diary/codepage.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

// The plain-text sink of RtfWalk: what DocumentBuilder and then
// QTextDocument::toPlainText() would make of the walk, without the document.
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

class TextExtractor : public RtfWalk<TextExtractor, PictureSize>
{
public:
    // A character shown takes at least one byte of the page, so the text
    // seldom outgrows this; growing it as it came had copied a long page's
    // text again and again.
    // Beyond most characters (a picture counting one) the text stops
    // growing, and the extraction has overflowed.
    TextExtractor(QByteArrayView rtf, qsizetype most) : RtfWalk(rtf), m_most(most)
    {
        m_text.reserve(std::min(rtf.size(), most) + 1);
    }
    QString extract()
    {
        run();
        m_text.squeeze();
        return std::move(m_text);
    }
    qsizetype pictures() const { return m_pictures; }

private:
    friend class RtfWalk<TextExtractor, PictureSize>;

    void textBytes(QByteArrayView bytes);
    void decodeBytes();
    void runStarted();
    void character(char16_t c) { showOne(c); }
    void paragraphMark();
    void picture(const PictureSize &);
    void pictureWord(PictureSize &, const RtfToken &, Control) {}
    void pageEnded() {}

    void show(QStringView decoded);
    void showWestern(QByteArrayView bytes);
    void showOne(char16_t c);
    void startParagraph();
    void endRun() { m_afterCarriageReturn = false; }

    bool m_western = true;
    const qsizetype m_most;
    qsizetype m_pictures = 0;
    QString m_text;
    QString m_decoded;
    bool m_paragraphEnded = false;
    // insertText() reads "\r\n" within one run as one paragraph break.
    bool m_afterCarriageReturn = false;

    bool overflowed() const { return m_text.size() + m_pictures > m_most; }
};

// Windows-1252 keeps no state between bytes, so it can be shown at once;
// other code pages are held and decoded where the parser decodes them.
void TextExtractor::textBytes(QByteArrayView bytes)
{
    if (m_western)
        showWestern(bytes);
    else
        holdBytes(bytes);
}

void TextExtractor::decodeBytes()
{
    m_decoded.resize(0);
    decodeHeld(m_decoded);
    show(m_decoded);
}

void TextExtractor::runStarted()
{
    m_western = m_runCodePage.isEmpty() || m_runCodePage == codepage::kName;
    endRun();
}

// The picture's U+FFFC is not shown, but it fills its paragraph.
void TextExtractor::picture(const PictureSize &)
{
    ++m_pictures;
    endRun();
    startParagraph();
}

// A paragraph mark only ends its paragraph; the newline comes with whatever follows.
void TextExtractor::startParagraph()
{
    if (std::exchange(m_paragraphEnded, false) && !overflowed())
        m_text.append(kParagraph);
}

void TextExtractor::paragraphMark()
{
    endRun();
    startParagraph();
    m_paragraphEnded = true;
}

void TextExtractor::showOne(char16_t c)
{
    const Shown how = shown(c);
    if (how == Shown::Dropped || overflowed())
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
        if (plain != in && !overflowed()) {
            startParagraph();
            m_afterCarriageReturn = false;
            const qsizetype start = m_text.size();
            // One past the most, so the text is known to have overflowed.
            const qsizetype taken = std::min<qsizetype>(plain - in, m_most - m_pictures - start + 1);
            m_text.resize(start + std::max<qsizetype>(taken, 0));
            char16_t *out = reinterpret_cast<char16_t *>(m_text.data()) + start;
            for (const uchar *last = in + taken; in < last; ++in)
                *out++ = table[*in];
        }
        in = plain;
        if (in != end)
            showOne(codepage::characters()[*in++]);
    }
}

} // namespace

QString visibleText(QByteArrayView rtf)
{
    return TextExtractor(rtf, std::numeric_limits<qsizetype>::max() - 1).extract();
}

std::optional<QString> pageText(QByteArrayView rtf)
{
    TextExtractor extractor(rtf, limits::kPageCharacters);
    QString text = extractor.extract();
    return text.size() + extractor.pictures() > limits::kPageCharacters ? std::nullopt : std::optional(std::move(text));
}

} // namespace richtext
