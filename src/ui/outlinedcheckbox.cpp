#include "outlinedcheckbox.h"

#include "look.h"

#include <QPainter>
#include <QStyleOptionButton>

void OutlinedCheckBox::paintEvent(QPaintEvent *event)
{
    QCheckBox::paintEvent(event);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect box = style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, this);
    QPainter painter(this);
    // Filled rather than stroked, so that at any scale it covers the box's own edge.
    painter.setClipRegion(QRegion(box) - QRegion(box.adjusted(1, 1, -1, -1)));
    painter.fillRect(box, readableAgainst(palette().color(QPalette::Mid), palette().color(QPalette::Window), kVisible));
}
