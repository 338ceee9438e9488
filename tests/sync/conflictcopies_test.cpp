#include "sync/conflictcopies.h"

#include "diary/pagestore.h"
#include "vault/keyslot.h"
#include "vault/vault.h"

#include "testdataroot.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

const QDate kDay(2026, 12, 4);
const QString kCopy = QStringLiteral("2026-12-04.sync-conflict-20261204-183012-ABCDEFG.dat");

QStringList described(const QList<conflictcopies::Found> &found)
{
    QStringList lines;
    for (const auto &copy : found)
        lines << QStringLiteral("%1 -> %2 %3").arg(copy.copy, copy.original, copy.opens ? u"opens" : u"does not open");
    return lines;
}

// The copy another computer's sync tool leaves: the page as it saved it, under the copy's name.
void copyPage(const DataRoot &root, QDate from, const QString &copyName)
{
    ASSERT_TRUE(QFile::copy(root.pagePath(from), root.pagesDir() + u'/' + copyName));
}

} // namespace

TEST(ConflictCopies, PagesNotesAndThePasswordFileHaveTheirCopiesFoundAndStrangersAreLeftOut)
{
    TestDataRoot data;
    ASSERT_TRUE(pagestore::save(data.root(), kDay, "{\\rtf1 one}").ok());
    copyPage(data.root(), kDay, kCopy);
    data.writeFile(QStringLiteral("dates/Dec-4 (Anna's conflicted copy 2026-12-04).dat"), "note");
    data.writeFile(QStringLiteral("pw.sync-conflict-20261204-183012-ABCDEFG.dat"), "slot");
    data.writeFile(QStringLiteral("pages/notes.sync-conflict-20261204-183012-ABCDEFG.txt"), "not a page's copy");
    data.writeFile(QStringLiteral("dates/2026-12-04.sync-conflict-20261204-183012-ABCDEFG.dat"), "a page's name among notes");

    EXPECT_EQ(described(conflictcopies::find(data.root())),
              QStringList({"pages/" + kCopy + " -> pages/2026-12-04.dat opens",
                           "dates/Dec-4 (Anna's conflicted copy 2026-12-04).dat -> dates/Dec-4.dat opens",
                           "pw.sync-conflict-20261204-183012-ABCDEFG.dat -> pw.dat opens"}));
}

TEST(ConflictCopies, ASealedCopyBelongsOnlyToThePageItWasSealedFor)
{
    TestDataRoot plain;
    const DataRoot root(plain.path(), std::make_shared<Vault>(keyslot::newMasterKey(), KeySlot{}));
    ASSERT_TRUE(pagestore::save(root, kDay, "{\\rtf1 one}").ok());
    ASSERT_TRUE(pagestore::save(root, kDay.addDays(1), "{\\rtf1 two}").ok());
    copyPage(root, kDay, kCopy);
    // Another day's page under this day's copy name: a renamed file, not this page's other side.
    copyPage(root, kDay.addDays(1), QStringLiteral("2026-12-04.sync-conflict-20261204-190000-HIJKLMN.dat"));

    EXPECT_EQ(described(conflictcopies::find(root)),
              QStringList({"pages/" + kCopy + " -> pages/2026-12-04.dat opens",
                           "pages/2026-12-04.sync-conflict-20261204-190000-HIJKLMN.dat -> pages/2026-12-04.dat does not open"}));
}
