#pragma once

#include "diary/outcome.h"

#include <QByteArrayView>
#include <QString>
#include <QTemporaryFile>

// A file too large to build in memory, written under a hidden name beside
// its target and renamed over it only once complete: a failure or a stop
// before that removes it and leaves the target as it was.
class PartFile
{
public:
    explicit PartFile(const QString &target);

    Outcome open();
    QIODevice &device() { return m_file; }
    QString fileName() const { return m_file.fileName(); }
    Outcome append(QByteArrayView bytes);
    // Everything written so far reaches the file, so another reader sees it.
    Outcome flush();
    // Everything written, flushed and checked; then the target is replaced.
    Outcome replaceTarget();

private:
    Outcome failed() const;

    QString m_target;
    QTemporaryFile m_file;
};
