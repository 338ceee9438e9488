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

// The data as \pict hex lines.
QByteArray hexLines(const QByteArray &data);

} // namespace testpictures
