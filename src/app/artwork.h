#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures, drawn by code so that they scale cleanly and
// ship with nothing to license.
namespace artwork {

QPixmap backgroundPicture();   // 847 by 553
QPixmap titleBanner();         // 441 by 66
QIcon applicationIcon();

enum class PageButton { First, Previous, Next, Last };
QIcon pageButtonIcon(PageButton which);

} // namespace artwork
