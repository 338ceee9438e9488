#include "testdataroot.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

TestDataRoot::TestDataRoot() : m_root(m_dir.path())
{
    QDir dir(m_dir.path());
    dir.mkdir(QStringLiteral("pages"));
    dir.mkdir(QStringLiteral("dates"));
}

void TestDataRoot::writeFile(const QString &relative, const QByteArray &bytes) const
{
    QDir(m_dir.path()).mkpath(QFileInfo(relative).path());
    QFile file(m_dir.filePath(relative));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << relative.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::map<QString, QByteArray> filesUnder(const QString &folder)
{
    std::map<QString, QByteArray> files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories); it.hasNext();) {
        QFile file(it.next());
        files[QDir(folder).relativeFilePath(file.fileName())] = file.open(QIODevice::ReadOnly) ? file.readAll() : "unreadable";
    }
    return files;
}

QByteArray TestDataRoot::readFile(const QString &relative) const { return readBytes(m_dir.filePath(relative)); }

QStringList TestDataRoot::everyName(const QString &relative) const
{
    return QDir(m_dir.filePath(relative)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                                   QDir::Name);
}
