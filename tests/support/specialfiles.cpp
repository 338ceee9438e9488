#include "specialfiles.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

void makeSpecialFile(const QString &path, SpecialFile kind)
{
    QFile::remove(path);
    if (kind == SpecialFile::Fifo)
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0) << path.toStdString();
    else if (kind == SpecialFile::Folder)
        ASSERT_TRUE(QDir().mkdir(path)) << path.toStdString();
    else
        ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path)) << path.toStdString();
}
