#pragma once

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

// The tab-separated rows of a table under data/, '#' lines left out.
inline QList<QStringList> rows(const char *name)
{
    QFile file(QStringLiteral(SYNC_DATA "/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    QList<QStringList> found;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        if (!line.startsWith(u'#'))
            found << line.split(u'\t');
    }
    return found;
}
