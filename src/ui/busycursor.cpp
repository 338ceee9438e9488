#include "busycursor.h"

#include <QCursor>
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
