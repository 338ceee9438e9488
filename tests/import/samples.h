#pragma once

#include <QFile>
#include <QString>

// The files of tests/import/samples.
inline QString samplePath(const QString &relative)
{
    return QStringLiteral(IMPORT_SAMPLES "/") + relative;
}

inline QByteArray sampleBytes(const QString &relative)
{
    QFile file(samplePath(relative));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
