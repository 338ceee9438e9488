#include "rtftokenizer.h"

#include "rtflimits.h"

#include <algorithm>
#include <array>

namespace richtext {

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A table, since text runs (most of all picture data) are most of the input.
constexpr std::array<bool, 256> kEndsText = [] {
    std::array<bool, 256> ends{};
    for (const char c : {'\\', '{', '}', '\r', '\n', '\0'})
        ends[uchar(c)] = true;
    return ends;
}();

} // namespace

RtfToken RtfTokenizer::next()
{
    // A NUL is no RTF and no character: it is dropped, alone or after a
    // backslash, and the page goes on after it.
    while (m_pos < m_in.size()) {
        const char c = m_in[m_pos];
        if (c == '\r' || c == '\n' || c == '\0') {
            ++m_pos;
            continue;
        }
        if (c == '\\' && m_pos + 1 < m_in.size() && m_in[m_pos + 1] == '\0') {
            m_pos += 2;
            continue;
        }
        if (c == '{' || c == '}') {
            ++m_pos;
            return {c == '{' ? RtfToken::Open : RtfToken::Close};
        }
        if (c == '\\') {
            ++m_pos;
            return afterBackslash();
        }
        return text();
    }
    m_pos = m_in.size();
    return {};
}

RtfToken RtfTokenizer::afterBackslash()
{
    if (m_pos >= m_in.size())
        return {};
    const char c = m_in[m_pos];
    if (isLetter(c))
        return controlWord();
    ++m_pos;
    if (c == '\'')
        return hexByte();
    if (c == '\r' || c == '\n')
        return {RtfToken::Word, QByteArrayView("par")};
    RtfToken symbol{RtfToken::Symbol};
    symbol.value = uchar(c);
    return symbol;
}

RtfToken RtfTokenizer::controlWord()
{
    const qsizetype start = m_pos;
    while (m_pos < m_in.size() && isLetter(m_in[m_pos]))
        ++m_pos;
    RtfToken word{RtfToken::Word};
    if (m_pos - start <= limits::kControlWordLetters)
        word.bytes = m_in.sliced(start, m_pos - start);
    word.parameter = parameter(word.hasParameter);
    if (m_pos < m_in.size() && m_in[m_pos] == ' ')
        ++m_pos;
    if (word.bytes != QByteArrayView("bin"))
        return word;
    const qsizetype length = std::min<qsizetype>(std::max(word.parameter, 0), m_in.size() - m_pos);
    RtfToken binary{RtfToken::Binary, m_in.sliced(m_pos, length)};
    m_pos += length;
    return binary;
}

int RtfTokenizer::parameter(bool &present)
{
    const bool negative = m_pos + 1 < m_in.size() && m_in[m_pos] == '-' && isDigit(m_in[m_pos + 1]);
    if (negative)
        ++m_pos;
    present = m_pos < m_in.size() && isDigit(m_in[m_pos]);
    qint64 value = 0;
    while (m_pos < m_in.size() && isDigit(m_in[m_pos])) {
        value = std::min(value * 10 + (m_in[m_pos] - '0'), limits::kParameter);
        ++m_pos;
    }
    return int(negative ? -value : value);
}

RtfToken RtfTokenizer::hexByte()
{
    const int high = m_pos < m_in.size() ? hexValue(m_in[m_pos]) : -1;
    const int low = m_pos + 1 < m_in.size() ? hexValue(m_in[m_pos + 1]) : -1;
    RtfToken hex{RtfToken::Symbol};
    hex.value = '\'';
    if (high < 0 || low < 0)
        return hex;
    m_pos += 2;
    hex.kind = RtfToken::Hex;
    hex.value = uchar(high * 16 + low);
    return hex;
}

RtfToken RtfTokenizer::text()
{
    const qsizetype start = m_pos;
    const char *data = m_in.data();
    while (m_pos < m_in.size() && !kEndsText[uchar(data[m_pos])])
        ++m_pos;
    return {RtfToken::Text, m_in.sliced(start, m_pos - start)};
}

} // namespace richtext
