#pragma once

#include "testdataroot.h"

#include <QByteArray>
#include <QStringList>

#include <map>

// Every file under a data folder as it was, to prove that a fault lost
// nothing: a digest of each file's bytes, so a 100-megabyte file costs no memory.
class DiarySnapshot
{
public:
    explicit DiarySnapshot(const TestDataRoot &data);

    // The files that differ from the snapshot, are gone or are new, by their
    // path under the data folder; empty when every byte is as it was.
    QStringList changes() const;

private:
    std::map<QString, QByteArray> take() const;

    QString m_folder;
    std::map<QString, QByteArray> m_files;
};
