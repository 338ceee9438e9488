#pragma once

#include "import/entry.h"

#include <QString>

#include <string>

inline QString sample(const char *name)
{
    return QStringLiteral(SAMPLES "/") + QLatin1String(name);
}

inline std::string refusal(const diaryimport::Read &read)
{
    return read.error.value_or(QStringLiteral("(not refused)")).toStdString();
}
