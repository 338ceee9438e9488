#pragma once

#include <QByteArrayView>

namespace richtext {

// What a control word does; the reader acts on these, never on names.
enum class Control {
    Unknown,
    // destinations
    FontTable, ColorTable, Skip, Picture, ShapePicture, NonShapePicture, Object, Result, Shape, ShapeResult,
    ShapeText, ShapeName, ShapeValue, UnicodePair, UnicodeText,
    // document
    AnsiCodePage, MacCodePage, PcCodePage, PcaCodePage, DefaultFont, FontCharset, FontCodePage,
    Red, Green, Blue, ShapeLeft, ShapeTop, ShapeRight, ShapeBottom, FootnoteMark,
    // characters
    Plain, Font, FontSize, Bold, Italic, Underline, UnderlineDotted, UnderlineOff, Strike, NoProof, ForeColor, BackColor,
    Unicode, UnicodeSkip, Character,
    // paragraphs
    ParagraphDefault, Paragraph, AlignLeft, AlignRight, AlignCenter, AlignJustify,
    LeftIndent, RightIndent, FirstIndent, SpaceAfter, SpaceBefore, RuleBelow,
    // pictures
    PngBlip, JpegBlip, DibBitmap, WBitmap, WMetafile, EmfBlip, OtherPicture,
    PictureWidth, PictureHeight, GoalWidth, GoalHeight, ScaleX, ScaleY, BitmapWidthBytes, BitmapBitsPerPixel,
};

struct ControlWord
{
    Control control = Control::Unknown;
    // The character a Character control word stands for.
    char16_t character = 0;
};

ControlWord controlWord(QByteArrayView name);

inline bool isDestination(Control control)
{
    return control >= Control::FontTable && control <= Control::UnicodeText;
}

} // namespace richtext
