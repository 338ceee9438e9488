#include "rtfwalkstate.h"

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
