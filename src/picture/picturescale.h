#pragma once

#include <QImage>
#include <QStringList>

#include <optional>

namespace picture {

// The entries of the scale list, largest first, and the one the field starts at.
const QStringList &scaleEntries();
QString unscaledEntry();

// The picture stretched by `factor` in each direction with smooth
// resampling, at least one pixel a side; nothing when the result would be
// beyond the picture limits.
std::optional<QImage> scaledPicture(const QImage &unscaled, double factor);

// The left edge that centres a picture in a window; negative when the
// picture is the wider, so that it is cut off evenly on both sides.
int centredLeft(int windowWidth, int pictureWidth);

} // namespace picture
