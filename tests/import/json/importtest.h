#pragma once

#include "import/entry.h"

#include <QString>

#include <string>
#include <vector>

inline QString sample(const char *name)
{
    return QStringLiteral(SAMPLES "/") + QLatin1String(name);
}

inline std::string refusal(const diaryimport::Read &read)
{
    return read.error.value_or(QStringLiteral("(not refused)")).toStdString();
}

// The entries as their pages get them, each made whole from the export.
inline std::vector<diaryimport::Entry> wholeEntries(const diaryimport::Read &read)
{
    std::vector<diaryimport::Entry> entries;
    for (const diaryimport::Entry &entry : read.entries)
        entries.push_back(diaryimport::wholeEntry(entry));
    return entries;
}
