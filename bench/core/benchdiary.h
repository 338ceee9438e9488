#pragma once

#include "diarygen.h"

#include <QCoreApplication>
#include <QTemporaryDir>

// A generated diary for a benchmark's main, in a temporary folder that goes
// with it. The command line gives its size (--days, 36500) and where it lies
// (--under, a disk rather than tmpfs where the files' cost matters).
class BenchDiary
{
public:
    BenchDiary(const QCoreApplication &app, const QString &name);

    const DataRoot &root() const { return m_root; }
    const diarygen::Options &options() const { return m_options; }
    int pages() const { return m_pages; }
    QString filePath(const QString &name) const { return m_work.filePath(name); }

private:
    // First: the folder's place is read with the options.
    diarygen::Options m_options;
    QTemporaryDir m_work;
    DataRoot m_root;
    int m_pages = 0;
};
