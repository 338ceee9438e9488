#pragma once

#include <QImage>
#include <QString>

namespace picture {

// The picture in the file, in any format the installed image plugins read,
// turned upright as its orientation tag says. A null image when the file is
// missing, is not a picture, or would decode beyond the picture limits.
QImage loadPicture(const QString &path);

} // namespace picture
