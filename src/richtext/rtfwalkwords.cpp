#include "rtfwalkwords.h"

#include "rtflimits.h"

#include <algorithm>

namespace richtext {

bool RtfState::destinationWord(Control control)
{
    switch (control) {
    case Control::FontTable:
        top().destination = Destination::FontTable;
        m_fontEntry = -1;
        m_fontName.clear();
        return true;
    case Control::ColorTable:
        top().destination = Destination::ColorTable;
        m_colorEntry = QColor(0, 0, 0);
        m_colorEntryUsed = false;
        return true;
    case Control::Skip:
        top().destination = Destination::Skip;
        return true;
    case Control::Shape:
        top().destination = Destination::Skip;
        top().reveals = Reveals::Shape;
        m_shapeDepth = m_groups.size();
        m_shapeMark = m_shapeContent;
        m_shapeBox = {};
        return true;
    case Control::ShapePicture:
        m_shapeMark = m_shapeContent;
        return true;
    case Control::NonShapePicture:
        if (!fallbackWanted())
            top().destination = Destination::Skip;
        return true;
    case Control::UnicodePair:
        top().destination = Destination::Skip;
        top().reveals = Reveals::UnicodeText;
        return true;
    // Shown as the text they hold, even when marked with \*.
    case Control::Object:
    case Control::Result:
    case Control::ShapeResult:
    case Control::ShapeText:
    case Control::ShapeName:
    case Control::ShapeValue:
    case Control::UnicodeText:
        return true;
    default:
        return false;
    }
}

// True once for the shape that began last, when it showed nothing itself.
bool RtfState::fallbackWanted()
{
    const bool shown = m_shapeMark >= 0 && m_shapeContent != m_shapeMark;
    m_shapeMark = -1;
    return !shown;
}

RtfWordResult RtfState::revealWord(Control control, int value)
{
    switch (top().reveals) {
    case Reveals::UnicodeText:
        if (control == Control::UnicodeText) {
            top().destination = Destination::Text;
            top().reveals = Reveals::Nothing;
        }
        return {};
    case Reveals::ShapePicture:
        // Parameters are clamped well inside int, so the sides never overflow.
        return control == Control::Picture ? startPicture(QSize(m_shapeBox.right() - m_shapeBox.left(),
                                                                m_shapeBox.bottom() - m_shapeBox.top()))
                                           : RtfWordResult{};
    case Reveals::Shape:
        return shapeWord(control, value);
    case Reveals::Nothing:
        break;
    }
    return {};
}

// Within a shape only its picture (the "pib" property) and its text box
// show; its own fallback shows when they did not, for one picture, never two.
RtfWordResult RtfState::shapeWord(Control control, int value)
{
    switch (control) {
    case Control::Shape:
        // A shape within a group shape is placed in the group's own units,
        // so its picture keeps the picture's own size.
        m_shapeBox = {};
        break;
    case Control::ShapeResult:
        top().reveals = Reveals::Nothing;
        if (m_groups.size() == m_shapeDepth + 1 && fallbackWanted())
            top().destination = Destination::Text;
        break;
    case Control::ShapeText:
        top().destination = Destination::Text;
        top().reveals = Reveals::Nothing;
        ++m_shapeContent;
        break;
    case Control::ShapeName:
        top().destination = Destination::ShapeName;
        m_shapeName.clear();
        break;
    case Control::ShapeValue:
        if (m_shapeName == "pib")
            top().reveals = Reveals::ShapePicture;
        break;
    case Control::ShapeLeft: m_shapeBox.setLeft(value); break;
    case Control::ShapeTop: m_shapeBox.setTop(value); break;
    case Control::ShapeRight: m_shapeBox.setRight(value); break;
    case Control::ShapeBottom: m_shapeBox.setBottom(value); break;
    default: break;
    }
    return {};
}

void RtfState::fontTableWord(Control control, int value)
{
    if (control == Control::Font) {
        endFontName();
        m_fontEntry = value;
        return;
    }
    if (control != Control::FontCharset && control != Control::FontCodePage)
        return;
    if (m_fontEntry < 0 || (m_fonts.size() >= size_t(limits::kTableEntries) && !m_fonts.contains(m_fontEntry)))
        return;
    m_fonts[m_fontEntry].codePage = control == Control::FontCharset ? charsetCodePage(value) : windowsCodePage(value);
}

void RtfState::colorTableWord(Control control, int value)
{
    const int component = std::clamp(value, 0, 255);
    switch (control) {
    case Control::Red:
        m_colorEntry.setRed(component);
        break;
    case Control::Green:
        m_colorEntry.setGreen(component);
        break;
    case Control::Blue:
        m_colorEntry.setBlue(component);
        break;
    default:
        return;
    }
    m_colorEntryUsed = true;
}

void RtfState::documentWord(Control control, int value)
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

} // namespace richtext
