#include "sync/syncignore.h"

#include "testdataroot.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

TEST(SyncIgnore, WrittenOnlyIntoASyncthingFolderWithoutRulesAndForItsOwnerAlone)
{
    TestDataRoot data;
    const QString rules = data.path() + QStringLiteral("/.stignore");
    EXPECT_FALSE(syncignore::writeIfShared(data.path())) << "a diary no sync tool shares";
    EXPECT_FALSE(QFile::exists(rules));

    ASSERT_TRUE(QDir(data.path()).mkdir(QStringLiteral(".stfolder")));
    EXPECT_TRUE(syncignore::writeIfShared(data.path()));
    EXPECT_EQ(data.readFile(QStringLiteral(".stignore")), syncignore::patterns());
    EXPECT_EQ(QFile::permissions(rules) & 0x0077, 0);
    EXPECT_TRUE(syncignore::patterns().contains("\n/.drafts\n"));

    data.writeFile(QStringLiteral(".stignore"), "// the user's own\n");
    EXPECT_FALSE(syncignore::writeIfShared(data.path()));
    EXPECT_EQ(data.readFile(QStringLiteral(".stignore")), "// the user's own\n");
}
