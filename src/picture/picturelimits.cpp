#include "picturelimits.h"

namespace picture {

bool withinLimits(QSize size)
{
    return richtext::limits::imageFits(size);
}

} // namespace picture
