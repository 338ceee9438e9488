#include "picturescale.h"

#include "picturelimits.h"
#include "ui/rounding.h"

#include <algorithm>
#include <cmath>

namespace picture {

namespace {

int scaledSide(int side, double factor)
{
    return std::max(1, static_cast<int>(std::lround(side * factor)));
}

} // namespace

const QStringList &scaleEntries()
{
    static const QStringList entries{QStringLiteral("2"),   QStringLiteral("1.75"), QStringLiteral("1.5"), QStringLiteral("1.25"),
                                     QStringLiteral("1"),   QStringLiteral(".90"),  QStringLiteral(".80"), QStringLiteral(".70"),
                                     QStringLiteral(".60"), QStringLiteral(".50"),  QStringLiteral(".40"), QStringLiteral(".30"),
                                     QStringLiteral(".20"), QStringLiteral(".10")};
    return entries;
}

QString unscaledEntry()
{
    return QStringLiteral("1");
}

std::optional<QImage> scaledPicture(const QImage &unscaled, double factor)
{
    const QSize size(scaledSide(unscaled.width(), factor), scaledSide(unscaled.height(), factor));
    if (!withinLimits(size))
        return std::nullopt;
    return unscaled.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

int centredLeft(int windowWidth, int pictureWidth)
{
    return static_cast<int>(roundHalfEven((windowWidth - pictureWidth) / 2.0));
}

} // namespace picture
