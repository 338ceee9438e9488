#pragma once

#include <QString>

// "1 day", "3 days", "0 days": the singular for a count of one only.
inline QString counted(qsizetype count, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}
