#include "fontfit.h"

#include <QWidget>

void shrinkFontToFit(QWidget &control, double smallest)
{
    QFont font = control.font();
    while (control.minimumSizeHint().width() > control.width() && font.pointSizeF() - 0.5 >= smallest) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        control.setFont(font);
    }
}
