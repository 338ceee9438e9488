#include "rows.h"

#include "sync/conflictcopies.h"
#include "sync/syncignore.h"

#include "diary/pagestore.h"
#include "vault/keyslot.h"
#include "vault/vault.h"

#include "testdataroot.h"

TEST(Conflicts, TheThreeToolsCopiesNameTheirFileSourceAndTimeAndNothingElseIsACopy)
{
    for (const QStringList &row : rows("names.txt")) {
        SCOPED_TRACE(row[0].toStdString());
        QStringList told;
        if (const auto copy = conflictnames::recognise(row[1]))
            told = {copy->original, conflictnames::toolName(copy->tool), copy->source,
                    copy->date.toString(Qt::ISODate) + (copy->time ? copy->time->toString(u" HH:mm:ss") : QString())};
        EXPECT_EQ(told, row.mid(2));
    }
}

// A sealed copy belongs to a page only when it opens under that page's name: another day's page
// renamed as this day's copy is not this page's other side.
TEST(Conflicts, CopiesOfPagesNotesAndThePasswordFileAreFoundBesideThemAndOnlyTheirOwnOpen)
{
    TestDataRoot data;
    const DataRoot root(data.path(), std::make_shared<Vault>(keyslot::newMasterKey(), KeySlot{}));
    const QDate day(2026, 12, 4);
    ASSERT_TRUE(pagestore::save(root, day, "{\\rtf1 one}").ok());
    ASSERT_TRUE(pagestore::save(root, day.addDays(1), "{\\rtf1 two}").ok());
    QFile::copy(root.pagePath(day), root.pagesDir() + QStringLiteral("/2026-12-04.sync-conflict-20261204-183012-ABCDEFG.dat"));
    QFile::copy(root.pagePath(day.addDays(1)), root.pagesDir() + QStringLiteral("/2026-12-04.sync-conflict-20261204-190000-HIJKLMN.dat"));
    data.writeFile(QStringLiteral("pw.sync-conflict-20261204-183012-ABCDEFG.dat"), "slot");
    data.writeFile(QStringLiteral("pages/notes.sync-conflict-20261204-183012-ABCDEFG.txt"), "not a page's copy");
    data.writeFile(QStringLiteral("dates/2026-12-04.sync-conflict-20261204-183012-ABCDEFG.dat"), "a page's name among notes");

    QStringList found;
    for (const auto &copy : conflictcopies::find(root))
        found << QStringLiteral("%1 -> %2 %3").arg(copy.copy, copy.original, copy.opens ? u"opens" : u"does not open");
    EXPECT_EQ(found, QStringList({"pages/2026-12-04.sync-conflict-20261204-183012-ABCDEFG.dat -> pages/2026-12-04.dat opens",
                                  "pages/2026-12-04.sync-conflict-20261204-190000-HIJKLMN.dat -> pages/2026-12-04.dat does not open",
                                  "pw.sync-conflict-20261204-183012-ABCDEFG.dat -> pw.dat opens"}));
}

TEST(Conflicts, SyncthingIsKeptOffEachComputersOwnFilesOnlyInAFolderItSharesWithoutRulesOfItsOwn)
{
    TestDataRoot data;
    EXPECT_FALSE(syncignore::writeIfShared(data.path())) << "a diary no sync tool shares";
    ASSERT_TRUE(QDir(data.path()).mkdir(QStringLiteral(".stfolder")));
    EXPECT_TRUE(syncignore::writeIfShared(data.path()));
    EXPECT_EQ(data.readFile(QStringLiteral(".stignore")), syncignore::patterns());
    EXPECT_EQ(QFile::permissions(data.path() + QStringLiteral("/.stignore")) & 0x0077, 0);

    data.writeFile(QStringLiteral(".stignore"), "// the user's own\n");
    EXPECT_FALSE(syncignore::writeIfShared(data.path()));
    EXPECT_EQ(data.readFile(QStringLiteral(".stignore")), "// the user's own\n");
}
