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
// A file of tests/picture/data: blocks.gif holds blocks(120, 80), a format Qt
// reads but cannot write; turned.jpg holds blocks(40, 24) with an orientation
// tag saying to turn it a quarter to the right.
inline QString dataFile(const char *name) { return QStringLiteral(PICTURE_TEST_DATA "/") + QLatin1String(name); }

} // namespace testimages
