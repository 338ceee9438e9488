#include "diary/lookledger.h"
#include "diary/passwordfile.h"
#include "diary/sealedmark.h"
#include "vault/vault.h"

#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

#include <gtest/gtest.h>

namespace {

// As every writer of a diary's file does: a new file renamed into place (unsynced, as a thousand syncs take seconds).
void write(const QString &path, const QByteArray &bytes = "{\\rtf1 plain}")
{
    QFile file(path + QStringLiteral(".new"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush());
    ASSERT_EQ(std::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()), 0);
}

} // namespace

// A plain diary's look for a sealed file remembers what it read only once it read many, and a page replaced by a
// sealed one since, as every writer replaces a file, is still found.
TEST(LookLedger, ALookRemembersItsUnsealedFilesAndStillFindsOneReplacedSince)
{
    QTemporaryDir cache, folder;
    qputenv("XDG_CACHE_HOME", cache.path().toLocal8Bit());
    const DataRoot root(folder.path());
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("pages")) && passwordfile::write(root.passwordFile(), u"none"));
    for (int day = 1; day < int(LookLedger::kWorthKeeping); ++day)
        write(root.pagePath(QDate(1990, 1, 1).addDays(day)));
    const QString record = LookLedger::recordPath(folder.path());
    EXPECT_FALSE(sealedmark::passwordFileLost(root));
    EXPECT_FALSE(QFile::exists(record)) << "a small diary is simply looked through";

    write(root.pagePath(QDate(1990, 1, 1)));
    EXPECT_FALSE(sealedmark::passwordFileLost(root));
    EXPECT_TRUE(QFile::exists(record));
    write(root.pagePath(QDate(1990, 5, 5)), sealing::kHeader.toByteArray() + "sealed");
    const auto lost = sealedmark::passwordFileLost(root);
    EXPECT_TRUE(lost && lost->endsWith(QStringLiteral("(pages/1990-05-05.dat is sealed.)"))) << lost.value_or(QString()).toStdString();
    qunsetenv("XDG_CACHE_HOME");
}
