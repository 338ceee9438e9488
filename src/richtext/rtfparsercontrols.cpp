#include "rtfparser.h"

#include "rule.h"
#include "twips.h"
#include "unchecked.h"

#include <utility>

namespace richtext {

namespace {

using Picture = RtfPictureData;

constexpr std::pair<Control, Picture::Kind> kPictureKinds[] = {
    {Control::PngBlip, Picture::Png}, {Control::JpegBlip, Picture::Jpeg}, {Control::DibBitmap, Picture::Dib},
    {Control::WBitmap, Picture::Ddb}, {Control::WMetafile, Picture::Wmf}, {Control::EmfBlip, Picture::Emf},
    {Control::OtherPicture, Picture::Unknown},
};

constexpr std::pair<Control, int Picture::*> kPictureNumbers[] = {
    {Control::PictureWidth, &Picture::width},
    {Control::PictureHeight, &Picture::height},
    {Control::GoalWidth, &Picture::goalWidth},
    {Control::GoalHeight, &Picture::goalHeight},
    {Control::ScaleX, &Picture::scaleX},
    {Control::ScaleY, &Picture::scaleY},
    {Control::BitmapWidthBytes, &Picture::widthBytes},
    {Control::BitmapBitsPerPixel, &Picture::bitsPerPixel},
};

} // namespace

void RtfParser::pictureWord(RtfPictureData &picture, const RtfToken &token, Control control)
{
    picture.header += '\\' + token.bytes.toByteArray();
    if (token.hasParameter)
        picture.header += QByteArray::number(token.parameter);
    for (const auto &[word, kind] : kPictureKinds) {
        if (word == control)
            picture.kind = kind;
    }
    for (const auto &[word, number] : kPictureNumbers) {
        if (word == control)
            picture.*number = token.parameter;
    }
}

QTextCharFormat RtfParser::charFormat() const
{
    const CharState &chars = top().chars;
    QTextCharFormat format;
    if (const Font *const current = font(); current && !current->name.isEmpty())
        format.setFontFamilies({current->name});
    format.setFontPointSize(chars.halfPoints / 2.0);
    if (chars.bold)
        format.setFontWeight(QFont::Bold);
    if (chars.italic)
        format.setFontItalic(true);
    if (chars.strike)
        format.setFontStrikeOut(true);
    if (chars.noProof)
        setUnchecked(format);
    if (chars.underline)
        format.setUnderlineStyle(chars.underline == 2 ? QTextCharFormat::DotLine : QTextCharFormat::SingleUnderline);
    const auto color = [this](int index) {
        return index >= 0 && size_t(index) < m_colors.size() ? m_colors[size_t(index)] : std::nullopt;
    };
    if (const auto foreground = color(chars.foreground))
        format.setForeground(*foreground);
    if (const auto background = color(chars.background))
        format.setBackground(*background);
    return format;
}

QTextBlockFormat RtfParser::blockFormat() const
{
    const Paragraph &paragraph = top().paragraph;
    QTextBlockFormat format;
    format.setAlignment(paragraph.alignment);
    const auto set = [&](int twips, void (QTextBlockFormat::*setter)(qreal)) {
        if (twips != 0)
            (format.*setter)(twips / qreal(kTwipsPerPixel));
    };
    set(paragraph.leftIndent, &QTextBlockFormat::setLeftMargin);
    set(paragraph.rightIndent, &QTextBlockFormat::setRightMargin);
    set(paragraph.firstIndent, &QTextBlockFormat::setTextIndent);
    set(paragraph.spaceBefore, &QTextBlockFormat::setTopMargin);
    set(paragraph.spaceAfter, &QTextBlockFormat::setBottomMargin);
    if (paragraph.ruled)
        setRule(format);
    return format;
}

} // namespace richtext
