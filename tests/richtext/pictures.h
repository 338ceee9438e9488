#pragma once

#include <QByteArray>
#include <QImage>

// Small pictures in the forms RTF carries them, made for the tests.
namespace testpictures {

// A picture with a few flat colours, like a drawing.
QImage drawing(int width = 12, int height = 8);
// A picture where nearly every pixel differs, like a photograph.
QImage photograph(int width = 160, int height = 120);

QByteArray encoded(const QImage &image, const char *format);
// BITMAPINFO and bits, without the file header.
QByteArray dib(const QImage &image);
// A Windows metafile that draws the DIB with one StretchDIB record, as a
// picture pasted on Windows is stored.
QByteArray wmfWrapping(const QByteArray &dib);
// An enhanced metafile that draws the DIB with one StretchDIBits record.
QByteArray emfWrapping(const QByteArray &dib);

// The data as \pict hex lines.
QByteArray hexLines(const QByteArray &data);

} // namespace testpictures
