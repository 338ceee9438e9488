#pragma once

#include <QColor>

#include <functional>

class QPalette;
class QWidget;

// The program's drawings come in a light and a dark look, as the palette's
// window colour is light or dark, so that they never sit light on a dark
// desktop or the other way round.
enum class Look { Light, Dark };
Look lookOf(const QPalette &palette);
// The application palette's look: what a drawn icon uses when it is painted.
Look currentLook();

// The two colours a drawing in a look outlines and fills with.
struct Inks
{
    QColor ink;
    QColor paper;
};
Inks inksOf(Look look);

// The contrast of two colours by their relative luminance, 1 to 21; text
// wants 4.5 or more, and kReadable leaves a little room for anti-aliased edges.
inline constexpr double kReadable = 5;
// A mark that is no text (a box's outline, the focus ring) wants 3 or more.
inline constexpr double kVisible = 3.5;
double contrastRatio(const QColor &one, const QColor &other);
// colour moved lighter or darker, away from other, until the two reach ratio.
QColor readableAgainst(QColor colour, const QColor &other, double ratio);

// Has adjust set the widget's own colours from the palette it inherits, now
// and whenever that palette changes.
using PaletteAdjustment = std::function<void(const QPalette &inherited, QPalette &own)>;
void followPalette(QWidget &widget, PaletteAdjustment adjust);
// The inherited highlight moved until the text on it reads.
void makeSelectionReadable(const QPalette &inherited, QPalette &own);

// Qt's own light palette, and most dark ones, put white text on a highlight
// under 4.5:1. The widget and its children get the same highlight moved
// darker or lighter until its text reads, again whenever the palette changes.
void keepSelectionReadable(QWidget &widget);

// A page keeps white paper and black ink in both looks: its colours were
// chosen on white, and it prints on white.
void keepPaper(QWidget &editor);
