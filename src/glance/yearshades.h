#pragma once

#include <QColor>
#include <QList>

#include <array>

class QPalette;

// A day's cell shade: 0 for no page, else 1 to 4 by the quarter of the
// year's pages its words fall in, so a terse writer's year is not all pale.
namespace yearshades {

using Quartiles = std::array<int, 3>;

Quartiles quartilesOf(QList<int> words);
int shadeOf(int words, const Quartiles &quartiles);
// From the palette's highlight over its window colour, so the cells follow the light or dark look.
QColor fillOf(int shade, const QPalette &palette);
// An empty day's outline, visible on the window's colour.
QColor outlineOf(const QPalette &palette);

} // namespace yearshades
