#pragma once

#include "rtfwalkwords.h"

#include "rtfunstorable.h"

#include <algorithm>
#include <utility>

namespace richtext {

// Reads a page's tokens once, keeping RtfState, and hands what the page shows
// to its sink, the class deriving from it; the calls are static so they inline.
// The sink's part:
//   textBytes(bytes)     text in the run's code page, to holdBytes() or show
//   decodeBytes()        the held bytes are due: decodeHeld() them
//   runStarted()         the character state changed
//   character(c)         a character of its own, never a NUL nor U+FFFC
//   paragraphMark()      a \par
//   picture(p)           a \pict group ended, within the size limit
//   pictureWord(p, t, c) a control word of the \pict group itself, for p
//   pageEnded()          nothing more follows
// The held bytes are decoded before any call but textBytes and pictureWord.
template <class Sink, class Picture>
class RtfWalk : public RtfState
{
public:
    explicit RtfWalk(QByteArrayView rtf) : m_tokens(rtf) {}
    void run();

private:
    Sink &sink() { return static_cast<Sink &>(*this); }
    bool skipping(const RtfToken &token);
    bool step(const RtfToken &token);
    bool closeGroup();
    void text(QByteArrayView bytes);
    void symbol(uchar value);
    void word(const RtfToken &token);
    void appendCharacter(char16_t character);
    void syncFormat();
    void catchUp();
    void releaseBytes();
    void endPicture();
    void finish();

    RtfTokenizer m_tokens;
    Picture m_picture;
    // \* marks a destination only right after its group's brace; some
    // writers put it before a plain word in mid-group.
    bool m_afterOpen = false;
};

template <class Sink, class Picture>
void RtfWalk<Sink, Picture>::run()
{
    for (;;) {
        const RtfToken token = m_tokens.next();
        if (!skipping(token) && !step(token)) {
            finish();
            return;
        }
        m_afterOpen = token.kind == RtfToken::Open;
    }
}

// After \uN the next \uc units are the fallback for readers without Unicode.
template <class Sink, class Picture>
bool RtfWalk<Sink, Picture>::skipping(const RtfToken &token)
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

// False when the token ends the page.
template <class Sink, class Picture>
bool RtfWalk<Sink, Picture>::step(const RtfToken &token)
{
    switch (token.kind) {
    case RtfToken::End: return false;
    case RtfToken::Open: openGroup(); break;
    case RtfToken::Close: return !closeGroup();
    case RtfToken::Word: word(token); break;
    case RtfToken::Symbol: symbol(token.value); break;
    case RtfToken::Hex:
        if (token.value != 0
            && (top().destination == Destination::Text || top().destination == Destination::FontTable))
            text(QByteArrayView(reinterpret_cast<const char *>(&token.value), 1));
        break;
    case RtfToken::Text: text(token.bytes); break;
    case RtfToken::Binary:
        if (top().destination == Destination::Picture)
            m_picture.appendBinary(token.bytes);
        break;
    }
    return true;
}

// True when the outermost group closed, which ends the page.
template <class Sink, class Picture>
bool RtfWalk<Sink, Picture>::closeGroup()
{
    if (!groupCloses())
        return false;
    if (m_groups.size() == m_pictureDepth)
        endPicture();
    return popGroup();
}

template <class Sink, class Picture>
void RtfWalk<Sink, Picture>::text(QByteArrayView bytes)
{
    if (top().destination == Destination::Text) {
        syncFormat();
        sink().textBytes(bytes);
    } else if (top().destination == Destination::Picture) {
        m_picture.appendHex(bytes);
    } else {
        tableText(bytes);
    }
}

template <class Sink, class Picture>
void RtfWalk<Sink, Picture>::symbol(uchar value)
{
    switch (value) {
    case '*': m_starred = m_afterOpen; break;
    case '~': appendCharacter(u'\u00A0'); break;
    case '-': appendCharacter(u'\u00AD'); break;
    case '_': appendCharacter(u'\u2011'); break;
    case '\\':
    case '{':
    case '}': text(QByteArrayView(reinterpret_cast<const char *>(&value), 1)); break;
    default: break;
    }
}

template <class Sink, class Picture>
void RtfWalk<Sink, Picture>::word(const RtfToken &token)
{
    const ControlWord known = controlWord(token.bytes);
    const RtfWordResult result = RtfState::word(known, token);
    switch (result.kind) {
    case RtfWordResult::Nothing: break;
    case RtfWordResult::Character: appendCharacter(result.character); break;
    case RtfWordResult::Paragraph:
        catchUp();
        sink().paragraphMark();
        break;
    case RtfWordResult::Picture: m_picture = {}; break;
    case RtfWordResult::PictureWord: sink().pictureWord(m_picture, token, known.control); break;
    case RtfWordResult::FootnoteMark:
        for (const QChar digit : QString::number(++m_footnotes))
            appendCharacter(digit.unicode());
        break;
    }
}

template <class Sink, class Picture>
void RtfWalk<Sink, Picture>::appendCharacter(char16_t character)
{
    if (top().destination != Destination::Text || isUnstorable(QChar(character)))
        return;
    catchUp();
    sink().character(character);
}

template <class Sink, class Picture>
void RtfWalk<Sink, Picture>::syncFormat()
{
    if (!runChanged())
        return;
    releaseBytes();
    startRun();
    sink().runStarted();
}

// What the sink is told next comes after all text read so far, in its format.
template <class Sink, class Picture>
void RtfWalk<Sink, Picture>::catchUp()
{
    syncFormat();
    releaseBytes();
}

template <class Sink, class Picture>
void RtfWalk<Sink, Picture>::releaseBytes()
{
    if (!m_bytes.isEmpty())
        sink().decodeBytes();
}

template <class Sink, class Picture>
void RtfWalk<Sink, Picture>::endPicture()
{
    m_pictureDepth = 0;
    const Picture picture = std::exchange(m_picture, {});
    if (picture.tooLarge)
        return;
    catchUp();
    sink().picture(picture);
}

template <class Sink, class Picture>
void RtfWalk<Sink, Picture>::finish()
{
    if (m_pictureDepth > 0)
        endPicture();
    releaseBytes();
    sink().pageEnded();
}

} // namespace richtext
