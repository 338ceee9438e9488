#pragma once

#include <QSize>
#include <QtGlobal>

// Bounds on what the reader accepts, so hostile input costs at most this much.
namespace richtext::limits {

// Deeper groups are read as if they were part of the deepest one.
inline constexpr int kGroupDepth = 1000;
// A longer control word is read whole and then ignored.
inline constexpr int kControlWordLetters = 32;
// Number parameters are read in full and clamped to this magnitude.
inline constexpr qint64 kParameter = 0x3fffffff;
// Fonts and colours beyond this many table entries are not kept.
inline constexpr int kTableEntries = 1 << 14;
// Indents and paragraph spacing, in twips (22 inches).
inline constexpr int kIndentTwips = 31680;
// How many fallback characters a \uc may ask to skip.
inline constexpr int kUnicodeSkip = 16;
// A page with more characters than this is not opened, and a save of one is
// refused: laid out in the window, such a page takes about 75 MiB and two
// seconds, and the time and memory grow with the text from there.
inline constexpr qsizetype kPageCharacters = qsizetype(4) << 20;
// A picture with more data than this is dropped.
inline constexpr qsizetype kPictureBytes = qsizetype(64) << 20;
// Decoding refuses an image larger than this, in either direction, in
// pixels (a 40-megapixel photograph fits) or in memory.
inline constexpr int kImageSide = 20000;
inline constexpr qint64 kImagePixels = 40'000'000;
inline constexpr int kImageMegabytes = 256;
// The one test of a picture's size: the picture window accepts no picture
// the reader would not decode again when the page is reopened.
inline constexpr bool imageFits(QSize size)
{
    return !size.isEmpty() && size.width() <= kImageSide && size.height() <= kImageSide
        && qint64(size.width()) * size.height() <= kImagePixels;
}
// A picture is decoded for showing at most this many pixels across or down,
// however large it is stored: a page of camera photographs then costs the
// window what it shows.
inline constexpr int kShownSide = 4096;
// A placeholder is never drawn larger than this, whatever size it states.
inline constexpr int kPlaceholderSide = 2000;

} // namespace richtext::limits
