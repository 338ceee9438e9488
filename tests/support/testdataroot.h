#pragma once

#include "diary/dataroot.h"
#include "diary/thiscomputer.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <map>

// A file's bytes, empty when it cannot be read.
QByteArray readBytes(const QString &path);
// Every file below a folder, hidden ones too, by its path below it; one that cannot be read holds "unreadable".
std::map<QString, QByteArray> filesUnder(const QString &folder);

// A fresh data folder with empty pages and dates folders, removed afterwards.
class TestDataRoot
{
public:
    TestDataRoot();

    const DataRoot &root() const { return m_root; }
    QString path() const { return m_dir.path(); }
    void writeFile(const QString &relative, const QByteArray &bytes) const;
    QByteArray readFile(const QString &relative) const;
    // The names in a folder, hidden ones included, so a stray file shows.
    QStringList everyName(const QString &relative) const;
    // Where this computer's drafts go, relative to the folder.
    static QString drafts() { return QStringLiteral(".drafts/") + thiscomputer::id(); }

private:
    QTemporaryDir m_dir;
    DataRoot m_root;
};
