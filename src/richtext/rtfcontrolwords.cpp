#include "rtfcontrolwords.h"

#include <string_view>
#include <unordered_map>

namespace richtext {

namespace {

using Table = std::unordered_map<std::string_view, ControlWord>;

const Table &table()
{
    static const Table words = {
        {"fonttbl", {Control::FontTable}}, {"colortbl", {Control::ColorTable}},
        {"stylesheet", {Control::Skip}}, {"info", {Control::Skip}}, {"header", {Control::Skip}},
        {"headerl", {Control::Skip}}, {"headerr", {Control::Skip}}, {"headerf", {Control::Skip}},
        {"footer", {Control::Skip}}, {"footerl", {Control::Skip}}, {"footerr", {Control::Skip}},
        {"footerf", {Control::Skip}}, {"footnote", {Control::Skip}}, {"annotation", {Control::Skip}},
        {"fldinst", {Control::Skip}}, {"pn", {Control::Skip}}, {"nonesttables", {Control::Skip}},
        {"list", {Control::Skip}}, {"listoverride", {Control::Skip}},
        {"listtable", {Control::Skip}}, {"listoverridetable", {Control::Skip}}, {"revtbl", {Control::Skip}},
        {"filetbl", {Control::Skip}}, {"xe", {Control::Skip}}, {"tc", {Control::Skip}},
        {"template", {Control::Skip}}, {"objdata", {Control::Skip}}, {"objclass", {Control::Skip}},
        {"objname", {Control::Skip}}, {"objalias", {Control::Skip}}, {"objtime", {Control::Skip}},
        {"pict", {Control::Picture}}, {"shppict", {Control::ShapePicture}}, {"object", {Control::Object}},
        {"result", {Control::Result}}, {"nonshppict", {Control::NonShapePicture}}, {"shp", {Control::Shape}},
        {"shpgrp", {Control::Shape}}, {"shprslt", {Control::ShapeResult}}, {"shptxt", {Control::ShapeText}},
        {"sn", {Control::ShapeName}}, {"sv", {Control::ShapeValue}}, {"upr", {Control::UnicodePair}},
        {"ud", {Control::UnicodeText}},
        {"shpleft", {Control::ShapeLeft}}, {"shptop", {Control::ShapeTop}}, {"shpright", {Control::ShapeRight}},
        {"shpbottom", {Control::ShapeBottom}}, {"chftn", {Control::FootnoteMark}},
        {"ansicpg", {Control::AnsiCodePage}}, {"mac", {Control::MacCodePage}}, {"pc", {Control::PcCodePage}},
        {"pca", {Control::PcaCodePage}}, {"deff", {Control::DefaultFont}}, {"fcharset", {Control::FontCharset}},
        {"cpg", {Control::FontCodePage}},
        {"red", {Control::Red}}, {"green", {Control::Green}}, {"blue", {Control::Blue}},
        {"plain", {Control::Plain}}, {"f", {Control::Font}}, {"fs", {Control::FontSize}},
        {"b", {Control::Bold}}, {"i", {Control::Italic}}, {"ul", {Control::Underline}},
        {"ulw", {Control::Underline}}, {"uldb", {Control::Underline}}, {"ulth", {Control::Underline}},
        {"ulwave", {Control::Underline}}, {"uld", {Control::UnderlineDotted}}, {"ulnone", {Control::UnderlineOff}},
        {"strike", {Control::Strike}}, {"striked", {Control::Strike}}, {"noproof", {Control::NoProof}},
        {"cf", {Control::ForeColor}}, {"highlight", {Control::BackColor}}, {"cb", {Control::BackColor}},
        {"u", {Control::Unicode}}, {"uc", {Control::UnicodeSkip}},
        {"tab", {Control::Character, u'\t'}}, {"cell", {Control::Character, u'\t'}},
        {"nestcell", {Control::Character, u'\t'}}, {"line", {Control::Character, u'\u2028'}},
        {"emdash", {Control::Character, u'\u2014'}}, {"endash", {Control::Character, u'\u2013'}},
        {"emspace", {Control::Character, u'\u2003'}}, {"enspace", {Control::Character, u'\u2002'}},
        {"qmspace", {Control::Character, u'\u2005'}}, {"bullet", {Control::Character, u'\u2022'}},
        {"lquote", {Control::Character, u'\u2018'}}, {"rquote", {Control::Character, u'\u2019'}},
        {"ldblquote", {Control::Character, u'\u201C'}}, {"rdblquote", {Control::Character, u'\u201D'}},
        {"pard", {Control::ParagraphDefault}}, {"par", {Control::Paragraph}}, {"sect", {Control::Paragraph}},
        {"page", {Control::Paragraph}}, {"row", {Control::Paragraph}}, {"nestrow", {Control::Paragraph}},
        {"ql", {Control::AlignLeft}}, {"qr", {Control::AlignRight}}, {"qc", {Control::AlignCenter}},
        {"qj", {Control::AlignJustify}}, {"li", {Control::LeftIndent}}, {"ri", {Control::RightIndent}},
        {"fi", {Control::FirstIndent}}, {"sa", {Control::SpaceAfter}}, {"sb", {Control::SpaceBefore}},
        {"brdrb", {Control::RuleBelow}},
        {"pngblip", {Control::PngBlip}}, {"jpegblip", {Control::JpegBlip}}, {"dibitmap", {Control::DibBitmap}},
        {"wbitmap", {Control::WBitmap}}, {"wmetafile", {Control::WMetafile}}, {"emfblip", {Control::EmfBlip}},
        {"pmmetafile", {Control::OtherPicture}}, {"macpict", {Control::OtherPicture}},
        {"picw", {Control::PictureWidth}}, {"pich", {Control::PictureHeight}},
        {"picwgoal", {Control::GoalWidth}}, {"pichgoal", {Control::GoalHeight}},
        {"picscalex", {Control::ScaleX}}, {"picscaley", {Control::ScaleY}},
        {"wbmwidthbytes", {Control::BitmapWidthBytes}}, {"wbmbitspixel", {Control::BitmapBitsPerPixel}},
    };
    return words;
}

} // namespace

ControlWord controlWord(QByteArrayView name)
{
    const auto found = table().find(std::string_view(name.data(), size_t(name.size())));
    return found == table().end() ? ControlWord{} : found->second;
}

} // namespace richtext
