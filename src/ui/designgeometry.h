#pragma once

#include "richtext/twips.h"

#include <QRect>

class QWidget;

// The designed window is laid out in twips, at kTwipsPerPixel on screen.

QRect fromTwips(int left, int top, int width, int height);
void placeInTwips(QWidget *widget, int left, int top, int width, int height);
