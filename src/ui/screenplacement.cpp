#include "screenplacement.h"

#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace {

// A window not shown yet knows no frame; reserve a title bar and borders for it.
QSize frameExtent(const QWidget &window)
{
    const QSize known = window.frameGeometry().size() - window.size();
    const int border = 2 * window.style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    return known.expandedTo(QSize(border, border + window.style()->pixelMetric(QStyle::PM_TitleBarHeight)));
}

void placeOnScreen(QWidget &window, const QWidget *over)
{
    const QScreen *screen = over ? over->screen() : window.screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize frame = frameExtent(window);
    window.resize(window.size().boundedTo(area.size() - frame));
    QRect placed(QPoint(), window.size() + frame);
    placed.moveCenter(over ? over->frameGeometry().center() : area.center());
    // A window whose minimum size exceeds the area keeps at least its top-left corner on it.
    const int left = std::max(area.left(), std::min(placed.left(), area.left() + area.width() - placed.width()));
    const int top = std::max(area.top(), std::min(placed.top(), area.top() + area.height() - placed.height()));
    window.move(left, top);
}

} // namespace

void showOnScreen(QWidget &window, const QWidget *over)
{
    if (window.isVisible())
        return;
    placeOnScreen(window, over);
    window.show();
    // Where the platform knows the frame at once, the estimate gives way to it.
    placeOnScreen(window, over);
}
