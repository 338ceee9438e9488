#include "diary/filelist.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>

// The list holds the files and links to files, never hidden files, folders,
// broken links or pipes, in byte order of the names: what Qt's own listing gives.
TEST(FileList, ListsWhatQtListsAsFilesInByteOrder)
{
    QTemporaryDir folder;
    for (const char *name : {"b.dat", "a.dat", "Z.dat", ".hidden.dat", "\xc3\xa9t\xc3\xa9.dat"})
        QFile(folder.filePath(QString::fromUtf8(name))).open(QIODevice::WriteOnly);
    QDir(folder.path()).mkdir(QStringLiteral("c.dat"));
    QFile::link(folder.filePath(QStringLiteral("a.dat")), folder.filePath(QStringLiteral("d.dat")));
    QFile::link(folder.filePath(QStringLiteral("gone.dat")), folder.filePath(QStringLiteral("e.dat")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.filePath(QStringLiteral("f.dat"))).constData(), 0600), 0);

    const QStringList listed = sortedFileNames(folder.path());
    EXPECT_EQ(listed, (QStringList{QStringLiteral("Z.dat"), QStringLiteral("a.dat"), QStringLiteral("b.dat"), QStringLiteral("d.dat"),
                                   QStringLiteral("été.dat")}));
    QStringList byQt = QDir(folder.path()).entryList(QDir::Files, QDir::NoSort);
    std::sort(byQt.begin(), byQt.end());
    EXPECT_EQ(listed, byQt);
    EXPECT_TRUE(sortedFileNames(folder.filePath(QStringLiteral("none"))).isEmpty());
}
