#pragma once

#include "ui/look.h"

#include <QIcon>
#include <QString>

#include <functional>

class QPainter;

// An icon drawn at whatever size it is asked for, in the look of the moment:
// sharp at any scale, and right again after the palette changes.
using IconDrawing = std::function<void(QPainter &painter, qreal side, Look look)>;
QIcon drawnIcon(IconDrawing draw);

// The icon of a toolbar key: the desktop theme's where it has one, else our
// own drawing, so every button always shows a picture.
QIcon toolbarIcon(const QString &key);
