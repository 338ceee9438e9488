#pragma once

#include "rtfwalkstate.h"

#include "rtflimits.h"

#include <algorithm>
#include <utility>

// What comes every few words of a page's text: its control words and the
// runs they start. Inline in the walk's loop, as a call for each would show
// in the time a page takes to read.
namespace richtext {

// Text read from now on takes the group's character state.
inline void RtfState::startRun()
{
    m_runState = top().chars;
    m_runCodePage = codePage();
}

inline QByteArray RtfState::codePage() const
{
    const Font *const current = font();
    return current && !current->codePage.isEmpty() ? current->codePage : m_documentCodePage;
}

inline const RtfState::Font *RtfState::font() const
{
    const auto found = m_fonts.find(top().chars.font >= 0 ? top().chars.font : m_defaultFont);
    return found != m_fonts.end() ? &found->second : nullptr;
}

inline RtfWordResult RtfState::word(const ControlWord &known, const RtfToken &token)
{
    const int value = token.parameter;
    if (std::exchange(m_starred, false) && !isDestination(known.control)) {
        top().destination = Destination::Skip;
        return {};
    }
    switch (top().destination) {
    case Destination::Skip:
        return top().reveals == Reveals::Nothing ? RtfWordResult{} : revealWord(known.control, value);
    case Destination::ShapeName:
        return {};
    case Destination::FontTable:
        fontTableWord(known.control, value);
        return {};
    case Destination::ColorTable:
        colorTableWord(known.control, value);
        return {};
    case Destination::Picture:
        return {m_groups.size() == m_pictureDepth ? RtfWordResult::PictureWord : RtfWordResult::Nothing};
    case Destination::Text:
        break;
    }
    return textWord(known, token);
}

inline RtfWordResult RtfState::startPicture(QSize box)
{
    top().destination = Destination::Picture;
    m_pictureDepth = m_groups.size();
    m_pictureBox = box;
    ++m_shapeContent;
    return {RtfWordResult::Picture};
}

inline RtfWordResult RtfState::textWord(const ControlWord &known, const RtfToken &token)
{
    const int value = token.parameter;
    switch (known.control) {
    case Control::Picture:
        return startPicture({});
    case Control::FootnoteMark:
        return {RtfWordResult::FootnoteMark};
    case Control::Paragraph:
        return {RtfWordResult::Paragraph};
    case Control::Character:
        return {RtfWordResult::Character, known.character};
    case Control::Unicode:
        m_skipCount = top().unicodeSkip;
        if (value < -32768 || value > 65535)
            return {};
        return {RtfWordResult::Character, char16_t(value < 0 ? value + 65536 : value)};
    default:
        break;
    }
    if (!characterWord(top(), known.control, value, !token.hasParameter || value != 0)
        && !paragraphWord(top().paragraph, known.control, value) && !destinationWord(known.control))
        documentWord(known.control, value);
    return {};
}

inline bool RtfState::characterWord(Group &group, Control control, int value, bool on)
{
    CharState &chars = group.chars;
    switch (control) {
    case Control::Plain: chars = {}; break;
    case Control::Font: chars.font = value; break;
    case Control::FontSize:
        if (value > 0)
            chars.halfPoints = std::clamp(value, 2, 3276);
        break;
    case Control::Bold: chars.bold = on; break;
    case Control::Italic: chars.italic = on; break;
    case Control::Strike: chars.strike = on; break;
    case Control::NoProof: chars.noProof = on; break;
    case Control::Underline: chars.underline = on ? 1 : 0; break;
    case Control::UnderlineDotted: chars.underline = on ? 2 : 0; break;
    case Control::UnderlineOff: chars.underline = 0; break;
    case Control::ForeColor: chars.foreground = value; break;
    case Control::BackColor: chars.background = value; break;
    case Control::UnicodeSkip: group.unicodeSkip = std::clamp(value, 0, limits::kUnicodeSkip); break;
    default: return false;
    }
    return true;
}

inline bool RtfState::paragraphWord(Paragraph &paragraph, Control control, int value)
{
    const int twips = std::clamp(value, -limits::kIndentTwips, limits::kIndentTwips);
    switch (control) {
    case Control::ParagraphDefault: paragraph = {}; break;
    case Control::AlignLeft: paragraph.alignment = Qt::AlignLeft; break;
    case Control::AlignRight: paragraph.alignment = Qt::AlignRight; break;
    case Control::AlignCenter: paragraph.alignment = Qt::AlignHCenter; break;
    case Control::AlignJustify: paragraph.alignment = Qt::AlignJustify; break;
    case Control::LeftIndent: paragraph.leftIndent = twips; break;
    case Control::RightIndent: paragraph.rightIndent = twips; break;
    case Control::FirstIndent: paragraph.firstIndent = twips; break;
    case Control::SpaceAfter: paragraph.spaceAfter = twips; break;
    case Control::SpaceBefore: paragraph.spaceBefore = twips; break;
    case Control::RuleBelow: paragraph.ruled = true; break;
    default: return false;
    }
    return true;
}

} // namespace richtext
