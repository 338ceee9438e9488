#include "busycursor.h"

#include <QGuiApplication>

void showBusyCursor()
{
    if (!QGuiApplication::overrideCursor())
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
}

void showNormalCursor()
{
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}
