#pragma once

#include "ui/look.h"

#include <QIcon>
#include <QPixmap>

#include <functional>

class QLabel;

// The program's own pictures, drawn by code so that they scale cleanly and
// ship with nothing to license. Each comes light and dark.
namespace artwork {

// scale: device pixels per pixel, so that a picture stays sharp at 200%.
QPixmap backgroundPicture(Look look, qreal scale = 1);   // 847 by 553
QPixmap titleBanner(Look look, qreal scale = 1);         // 441 by 66
// These three are drawn when painted, in the look of that moment.
QIcon applicationIcon();

enum class PageButton { First, Previous, Next, Last };
QIcon pageButtonIcon(PageButton which);

// Shows a picture on label now and again in the other look whenever the
// label's palette turns from light to dark or back.
void showInLook(QLabel &label, const std::function<QPixmap(Look, qreal scale)> &picture);

} // namespace artwork
