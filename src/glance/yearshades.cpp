#include "yearshades.h"

#include "ui/look.h"

#include <QPalette>

#include <algorithm>

namespace yearshades {

// The upper bounds of the first three quarters: with four pages of 10, 20,
// 30 and 40 words, each is a shade of its own.
Quartiles quartilesOf(QList<int> words)
{
    if (words.isEmpty())
        return {};
    std::ranges::sort(words);
    const auto bound = [&](int quarter) { return words[(quarter * words.size() + 3) / 4 - 1]; };
    return {bound(1), bound(2), bound(3)};
}

int shadeOf(int words, const Quartiles &quartiles)
{
    return 1 + int(std::ranges::count_if(quartiles, [words](int bound) { return words > bound; }));
}

QColor fillOf(int shade, const QPalette &palette)
{
    const QColor window = palette.color(QPalette::Window);
    const QColor highlight = palette.color(QPalette::Highlight);
    const double share = shade / 4.0;
    return QColor::fromRgbF(float(window.redF() + (highlight.redF() - window.redF()) * share),
                            float(window.greenF() + (highlight.greenF() - window.greenF()) * share),
                            float(window.blueF() + (highlight.blueF() - window.blueF()) * share));
}

QColor outlineOf(const QPalette &palette)
{
    return readableAgainst(palette.color(QPalette::Mid), palette.color(QPalette::Window), kVisible);
}

} // namespace yearshades
