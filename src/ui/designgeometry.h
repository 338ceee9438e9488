#pragma once

#include <QRect>

class QWidget;

// The designed window is laid out in twips; on screen 15 twips make a pixel.
inline constexpr int kTwipsPerPixel = 15;

QRect fromTwips(int left, int top, int width, int height);
void placeInTwips(QWidget *widget, int left, int top, int width, int height);
