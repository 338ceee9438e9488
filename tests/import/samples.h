#pragma once

#include "testdataroot.h"

#include <QString>

// The files of tests/import/samples.
inline QString samplePath(const QString &relative)
{
    return QStringLiteral(IMPORT_SAMPLES "/") + relative;
}

inline QByteArray sampleBytes(const QString &relative) { return readBytes(samplePath(relative)); }
