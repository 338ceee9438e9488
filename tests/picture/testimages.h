#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

class QTemporaryDir;

// Pictures the tests make for themselves.
namespace testimages {

// Writes the bytes to a file of that name in the folder; returns its path.
QString fileIn(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes);

// Flat coloured blocks, like a drawing: it is stored losslessly in a page.
QImage blocks(int width, int height);
// Black and white pixels in turn, where only smooth resampling gives grey.
QImage checkerboard(int width, int height);
QByteArray encoded(const QImage &image, const char *format);
// A GIF of blocks(), which Qt can read but not write.
QByteArray gif(int width, int height);
// A JPEG whose orientation tag says to turn it a quarter to the right.
QByteArray jpegTurnedRight(const QImage &image);

} // namespace testimages
