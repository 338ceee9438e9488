#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

#include <ostream>

// Lets GoogleTest show Qt values readably when an expectation fails.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }

inline void PrintTo(const QPoint &point, std::ostream *out) { *out << '(' << point.x() << ", " << point.y() << ')'; }

inline void PrintTo(const QRect &rect, std::ostream *out)
{
    *out << rect.width() << 'x' << rect.height() << " at (" << rect.x() << ", " << rect.y() << ')';
}
