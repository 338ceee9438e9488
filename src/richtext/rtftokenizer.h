#pragma once

#include <QByteArrayView>

namespace richtext {

struct RtfToken
{
    enum Kind { Open, Close, Word, Symbol, Hex, Text, Binary, End };
    RtfToken(Kind k = End, QByteArrayView b = {}) : kind(k), bytes(b) {}
    Kind kind;
    // The control word's letters, the text run, or the \bin bytes.
    QByteArrayView bytes;
    int parameter = 0;
    bool hasParameter = false;
    // The control symbol's character, or the byte of a \'hh.
    uchar value = 0;
};

// Splits RTF into tokens. Raw CR and LF are dropped, a backslash before
// them reads as \par, and a NUL is dropped.
class RtfTokenizer
{
public:
    explicit RtfTokenizer(QByteArrayView input) : m_in(input) {}
    RtfToken next();

private:
    RtfToken afterBackslash();
    RtfToken controlWord();
    RtfToken hexByte();
    RtfToken text();
    int parameter(bool &present);

    QByteArrayView m_in;
    qsizetype m_pos = 0;
};

} // namespace richtext
