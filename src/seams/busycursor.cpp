#include "busycursor.h"

#include <QCursor>
#include <QGuiApplication>

BusyCursor::BusyCursor()
{
    if (QGuiApplication::overrideCursor())
        return;
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    m_set = true;
}

BusyCursor::~BusyCursor()
{
    if (m_set)
        QGuiApplication::restoreOverrideCursor();
}
