#include "rtfparser.h"

#include "rtflimits.h"

#include <algorithm>
#include <utility>

namespace richtext {

void RtfParser::word(const RtfToken &token)
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
        colorTableWord(known.control, value);
        return;
    case Destination::Picture:
        pictureWord(token, known.control, value);
        return;
    case Destination::Text:
        break;
    }
    if (destinationWord(known.control) || characterWord(known, value, !token.hasParameter || value != 0)
        || paragraphWord(known.control, value))
        return;
    documentWord(known.control, value);
}

bool RtfParser::destinationWord(Control control)
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

void RtfParser::fontTableWord(Control control, int value)
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

void RtfParser::endFontName()
{
    const QByteArray bytes = std::exchange(m_fontName, {});
    if (m_fontEntry < 0 || bytes.trimmed().isEmpty())
        return;
    if (m_fonts.size() >= size_t(limits::kTableEntries) && !m_fonts.contains(m_fontEntry))
        return;
    Font &font = m_fonts[m_fontEntry];
    QString name;
    m_decoder.append(name, bytes, font.codePage.isEmpty() ? m_documentCodePage : font.codePage);
    font.name = name.trimmed();
}

void RtfParser::colorTableWord(Control control, int value)
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

void RtfParser::pictureWord(const RtfToken &token, Control control, int value)
{
    if (m_groups.size() != m_pictureDepth)
        return;
    m_picture.header += '\\' + token.bytes.toByteArray();
    if (token.hasParameter)
        m_picture.header += QByteArray::number(value);
    switch (control) {
    case Control::PngBlip: m_picture.kind = RtfPictureData::Png; break;
    case Control::JpegBlip: m_picture.kind = RtfPictureData::Jpeg; break;
    case Control::DibBitmap: m_picture.kind = RtfPictureData::Dib; break;
    case Control::WBitmap: m_picture.kind = RtfPictureData::Ddb; break;
    case Control::WMetafile: m_picture.kind = RtfPictureData::Wmf; break;
    case Control::EmfBlip: m_picture.kind = RtfPictureData::Emf; break;
    case Control::OtherPicture: m_picture.kind = RtfPictureData::Unknown; break;
    case Control::PictureWidth: m_picture.width = value; break;
    case Control::PictureHeight: m_picture.height = value; break;
    case Control::GoalWidth: m_picture.goalWidth = value; break;
    case Control::GoalHeight: m_picture.goalHeight = value; break;
    case Control::ScaleX: m_picture.scaleX = value; break;
    case Control::ScaleY: m_picture.scaleY = value; break;
    case Control::BitmapWidthBytes: m_picture.widthBytes = value; break;
    case Control::BitmapBitsPerPixel: m_picture.bitsPerPixel = value; break;
    default: break;
    }
}

void RtfParser::endPicture()
{
    m_pictureDepth = 0;
    const auto format = pictureFormat(m_document, std::exchange(m_picture, {}));
    if (!format)
        return;
    syncFormat();
    flushBytes();
    m_builder.insertImage(*format);
}

bool RtfParser::characterWord(const ControlWord &word, int value, bool on)
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

bool RtfParser::paragraphWord(Control control, int value)
{
    const int twips = std::clamp(value, -limits::kIndentTwips, limits::kIndentTwips);
    Paragraph &paragraph = top().paragraph;
    switch (control) {
    case Control::ParagraphDefault: paragraph = {}; break;
    case Control::Paragraph:
        syncFormat();
        flushBytes();
        m_builder.endParagraph(blockFormat());
        break;
    case Control::AlignLeft: paragraph.alignment = Qt::AlignLeft; break;
    case Control::AlignRight: paragraph.alignment = Qt::AlignRight; break;
    case Control::AlignCenter: paragraph.alignment = Qt::AlignHCenter; break;
    case Control::AlignJustify: paragraph.alignment = Qt::AlignJustify; break;
    case Control::LeftIndent: paragraph.leftIndent = twips; break;
    case Control::RightIndent: paragraph.rightIndent = twips; break;
    case Control::FirstIndent: paragraph.firstIndent = twips; break;
    case Control::SpaceAfter: paragraph.spaceAfter = twips; break;
    case Control::SpaceBefore: paragraph.spaceBefore = twips; break;
    default: return false;
    }
    return true;
}

void RtfParser::documentWord(Control control, int value)
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
