#pragma once

#include <QByteArrayView>
#include <QImage>

// The pictures Windows programs put in RTF besides PNG and JPEG. Each gives
// a null image when the data is not what it claims or holds no bitmap.
namespace richtext::windowspicture {

// A device-independent bitmap: BITMAPINFO followed by its bits. A metafile
// record may carry the bits at a stated offset instead.
QImage fromDib(QByteArrayView dib, qsizetype bitsOffset = -1);

// A device-dependent bitmap's rows, as \wbitmap gives them.
QImage fromDdb(QByteArrayView bits, int width, int height, int widthBytes, int bitsPerPixel);

// The largest bitmap drawn by a Windows or enhanced metafile; a picture
// pasted on Windows is usually one bitmap wrapped this way.
QImage fromWmf(QByteArrayView wmf);
QImage fromEmf(QByteArrayView emf);

} // namespace richtext::windowspicture
