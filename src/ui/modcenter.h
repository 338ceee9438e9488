#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// While in force, every dialog window (a QDialog: colour, file, message and
// input boxes) that appears is first placed in the middle of its screen.
// Other windows are left alone. Starting twice is the same as once, and
// stopping when nothing is in force does nothing.
void StartCentering();
void StopCentering();
bool CenteringInForce();

// The top-left corner that centres `window` on `screen`, each coordinate
// rounded to the nearest pixel with halves to the even one. A window larger
// than the screen starts before its edge.
QPoint centeredOrigin(const QRect &screen, const QSize &window);

// Centring in force for the lifetime of the bracket, however the dialog
// inside it ends.
class CenteringBracket
{
public:
    CenteringBracket() { StartCentering(); }
    ~CenteringBracket() { StopCentering(); }
    CenteringBracket(const CenteringBracket &) = delete;
    CenteringBracket &operator=(const CenteringBracket &) = delete;
};
