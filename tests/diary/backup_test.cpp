#include "diary/backup.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "diary/passwordfile.h"

#include "diskfull.h"
#include "testdataroot.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zip.h>

#include <map>

#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

using Files = std::map<QString, QByteArray>;

// Every file under a folder, hidden ones too, by its path relative to it.
Files filesUnder(const QString &folder)
{
    Files files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
        files[QDir(folder).relativeFilePath(file.fileName())] = file.readAll();
    }
    return files;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// An archive some other program made, for names no backup of ours holds.
void makeZip(const QString &path, const QStringList &names)
{
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    static const char kBytes[] = "{\\rtf1 x}";
    for (const QString &name : names) {
        zip_source_t *source = zip_source_buffer(archive, kBytes, sizeof kBytes - 1, 0);
        ASSERT_GE(zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8), 0) << name.toStdString();
    }
    ASSERT_EQ(zip_close(archive), 0);
}

// Letters no compressor shrinks much, so this page makes most of an archive.
QByteArray longPage()
{
    QByteArray text = "{\\rtf1 ";
    quint32 seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        text.append(char('a' + (seed >> 16) % 26));
    }
    return text + '}';
}

class BackupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const DataRoot &root = data.root();
        ASSERT_TRUE(pagestore::save(root, QDate(2026, 11, 20), longPage()));
        ASSERT_TRUE(pagestore::save(root, QDate(2026, 12, 4), "{\\rtf1 Skating}"));
        ASSERT_TRUE(pagestore::save(root, QDate(2026, 12, 4), "{\\rtf1 Skating, and then tea}"));
        ASSERT_TRUE(notestore::save(root, daykeys::MonthDay{12, 4}, u"Anna's birthday"));
        ASSERT_TRUE(passwordfile::write(root.passwordFile(), u"secret words"));
        data.writeFile(QStringLiteral("dates/M\u00e4r-5.dat"), notestore::encodeNote(u"Tante K\u00e4the"));
        data.writeFile(QStringLiteral("help.htm"), "<html>help</html>");
        ASSERT_TRUE(QDir(data.path()).mkdir(QStringLiteral(".drafts")));
        data.writeFile(QStringLiteral(".drafts/page@2026-12-04.dat"), "unsaved typing");
        data.writeFile(QStringLiteral("pages/.2026-12-04.dat.quillnest-saving-Ab12Cd"), "a killed save");
        diary = filesUnder(data.path());
        // The program's own files and whatever is hidden are no part of a backup.
        for (const char *notBackedUp : {"help.htm", ".drafts/page@2026-12-04.dat", "pages/.2026-12-04.dat.quillnest-saving-Ab12Cd"})
            ASSERT_EQ(diary.erase(QString::fromLatin1(notBackedUp)), 1u);
    }

    QString outPath(const QString &name) const { return out.filePath(name); }

    TestDataRoot data;
    QTemporaryDir out;
    Files diary;
};

} // namespace

TEST_F(BackupTest, ARestoredDiaryHasEveryFileByteForByteAndTheHistoryOnlyWhenAsked)
{
    Files history;
    for (const auto &[name, bytes] : diary) {
        if (name.startsWith(QLatin1String("history/")))
            history.insert({name, bytes});
    }
    ASSERT_EQ(history.size(), 1u) << "the page saved twice has one earlier version";

    const QString whole = outPath(QStringLiteral("whole.zip"));
    writeAll(whole, "an older backup");
    const Outcome written = backup::write(data.root(), whole, true);
    ASSERT_TRUE(written) << written.error().toStdString();
    const QString restored = outPath(QStringLiteral("new/diary/"));
    const Outcome back = backup::restore(whole, restored);
    ASSERT_TRUE(back) << back.error().toStdString();
    EXPECT_EQ(filesUnder(restored), diary);

    const QString pagesOnly = outPath(QStringLiteral("pages.zip"));
    ASSERT_TRUE(backup::write(data.root(), pagesOnly, false));
    const QString emptyFolder = outPath(QStringLiteral("empty"));
    ASSERT_TRUE(QDir().mkdir(emptyFolder));
    const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    ASSERT_TRUE(QFile::setPermissions(emptyFolder, ownerOnly));
    ASSERT_TRUE(backup::restore(pagesOnly, emptyFolder));
    EXPECT_EQ(QFileInfo(emptyFolder).permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), ownerOnly);
    Files withoutHistory = diary;
    for (const auto &[name, bytes] : history)
        withoutHistory.erase(name);
    EXPECT_EQ(filesUnder(emptyFolder), withoutHistory);

    // A diary with nothing written yet still restores as one.
    TestDataRoot blank;
    const QString blankZip = outPath(QStringLiteral("blank.zip"));
    ASSERT_TRUE(backup::write(blank.root(), blankZip, true));
    ASSERT_TRUE(backup::restore(blankZip, outPath(QStringLiteral("blank"))));
    EXPECT_TRUE(QFileInfo(outPath(QStringLiteral("blank/pages"))).isDir());
    EXPECT_TRUE(QFileInfo(outPath(QStringLiteral("blank/dates"))).isDir());
}

TEST_F(BackupTest, ARestoreRefusesAFolderInUseAndArchivesThatAreNoDiarysBackup)
{
    const QString zip = outPath(QStringLiteral("backup.zip"));
    ASSERT_TRUE(backup::write(data.root(), zip, true));
    TestDataRoot other;
    other.writeFile(QStringLiteral("pages/2020-01-01.dat"), "mine");
    const Outcome refused = backup::restore(zip, other.path());
    EXPECT_EQ(refused.error(), QStringLiteral("'%1' is not empty; a backup is only restored into a new folder.").arg(other.path()));
    EXPECT_EQ(filesUnder(other.path()), (Files{{QStringLiteral("pages/2020-01-01.dat"), "mine"}}));

    const QString emptyFolder = outPath(QStringLiteral("empty"));
    ASSERT_TRUE(QDir().mkdir(emptyFolder));
    struct Case
    {
        QStringList names;
        QString says;
    };
    const QList<Case> cases{
        {{QStringLiteral("pages/2026-12-04.dat"), QStringLiteral("../evil")}, QStringLiteral("holds '../evil'")},
        {{QStringLiteral("pages/2026-12-04.dat"), QStringLiteral("pages/../../evil")}, QStringLiteral("holds 'pages/../../evil'")},
        {{QStringLiteral("pages/2026-12-04.dat"), out.filePath(QStringLiteral("evil"))}, QStringLiteral("which is no part")},
        {{QStringLiteral("pages/2026-12-04.dat"), QStringLiteral("notes.txt")}, QStringLiteral("holds 'notes.txt'")},
        {{QStringLiteral("dates/Dec-4.dat")}, QStringLiteral("is damaged or is not a Quillnest backup")},
    };
    for (const Case &each : cases) {
        SCOPED_TRACE(each.names.join(QLatin1Char(' ')).toStdString());
        const QString foreign = outPath(QStringLiteral("foreign.zip"));
        makeZip(foreign, each.names);
        for (const QString &target : {outPath(QStringLiteral("new")), emptyFolder}) {
            const Outcome restored = backup::restore(foreign, target);
            EXPECT_TRUE(restored.error().contains(each.says)) << restored.error().toStdString();
            EXPECT_TRUE(restored.error().contains(foreign));
        }
        EXPECT_FALSE(QFileInfo::exists(outPath(QStringLiteral("new"))));
        EXPECT_TRUE(QDir(emptyFolder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        EXPECT_FALSE(QFileInfo::exists(outPath(QStringLiteral("evil"))));
    }
}

TEST_F(BackupTest, ADamagedOrCutArchiveIsRefusedAndLeavesNothing)
{
    const QString zip = outPath(QStringLiteral("backup.zip"));
    ASSERT_TRUE(backup::write(data.root(), zip, true));
    const QByteArray whole = readAll(zip);
    QByteArray flipped = whole;
    for (qsizetype i = whole.size() / 2; i < whole.size() / 2 + 16; ++i)
        flipped[i] = char(~flipped[i]);

    for (const QByteArray &bytes : {flipped, whole.left(whole.size() / 2)}) {
        const QString damaged = outPath(QStringLiteral("damaged.zip"));
        writeAll(damaged, bytes);
        const QString target = outPath(QStringLiteral("new"));
        const Outcome restored = backup::restore(damaged, target);
        EXPECT_TRUE(restored.error().startsWith(QStringLiteral("'%1' is damaged or is not a Quillnest backup").arg(damaged)))
            << restored.error().toStdString();
        EXPECT_FALSE(QFileInfo::exists(target));
    }
    EXPECT_EQ(QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).join(u' '),
              QStringLiteral("backup.zip damaged.zip"));
}

TEST_F(BackupTest, AFullDiskLeavesTheOlderArchiveAndNoHalfFile)
{
    const QString zip = outPath(QStringLiteral("backup.zip"));
    writeAll(zip, "an older backup");
    Outcome written = Outcome::success();
    {
        const DiskFull full(4096);
        written = backup::write(data.root(), zip, true);
    }
    EXPECT_TRUE(written.error().startsWith(QStringLiteral("The backup %1 could not be written").arg(zip))) << written.error().toStdString();
    EXPECT_EQ(filesUnder(out.path()), (Files{{QStringLiteral("backup.zip"), "an older backup"}}));

    ASSERT_TRUE(backup::write(data.root(), zip, true));
    Outcome restored = Outcome::success();
    {
        const DiskFull full(4096);
        restored = backup::restore(zip, outPath(QStringLiteral("new")));
    }
    EXPECT_FALSE(restored);
    EXPECT_FALSE(QFileInfo::exists(outPath(QStringLiteral("new"))));
}

TEST_F(BackupTest, ARestoreClearsWhatKilledRestoresToItsFolderLeftAndNothingElse)
{
    const QString zip = outPath(QStringLiteral("backup.zip"));
    ASSERT_TRUE(backup::write(data.root(), zip, true));
    const QString mark = QStringLiteral("/quillnest-restoring");
    const QStringList folders{
        QStringLiteral(".new.restoring-Ab12Cd"),  // killed: its mark is free
        QStringLiteral(".new.restoring-Ef34Gh"),  // killed before its mark was made
        QStringLiteral(".new.restoring-Ij56Kl"),  // still running: its mark is locked
        QStringLiteral(".new.restoring-Mn78Op"),  // the user's, with no mark
        QStringLiteral(".new.restoring-Qr9"),     // not a name a restore makes
        QStringLiteral(".old.restoring-St90Uv"),  // another target's
        QStringLiteral("elsewhere"),              // reached only through a link
    };
    for (const QString &folder : folders)
        ASSERT_TRUE(QDir(out.path()).mkdir(folder));
    for (const int marked : {0, 2, 4, 5, 6})
        writeAll(outPath(folders[marked] + mark), "");
    writeAll(outPath(folders[0] + QStringLiteral("/pages.dat")), "half a diary");
    writeAll(outPath(folders[3] + QStringLiteral("/notes.txt")), "mine");
    ASSERT_TRUE(QFile::link(outPath(QStringLiteral("elsewhere")), outPath(QStringLiteral(".new.restoring-Wx12Yz"))));
    QFile running(outPath(folders[2] + mark));
    ASSERT_TRUE(running.open(QIODevice::ReadOnly));
    ASSERT_EQ(::flock(running.handle(), LOCK_EX | LOCK_NB), 0);

    ASSERT_TRUE(backup::restore(zip, outPath(QStringLiteral("new"))));
    EXPECT_EQ(filesUnder(outPath(QStringLiteral("new"))), diary);
    const QStringList kept{folders[2], folders[3], folders[4], QStringLiteral(".new.restoring-Wx12Yz"), folders[5],
                           QStringLiteral("backup.zip"), folders[6], QStringLiteral("new")};
    EXPECT_EQ(QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name).join(u' '),
              kept.join(u' '));
    EXPECT_TRUE(QFileInfo::exists(outPath(QStringLiteral("elsewhere")) + mark));
}

// A name that is not UTF-8 goes into the archive byte for byte, what killed
// backups left beside the archive goes, and a file that cannot be read is named.
TEST_F(BackupTest, KeepsEveryNameRemovesKilledPartsAndNamesWhatItCannotRead)
{
    const QByteArray strange = "pages/caf\xe9.dat";
    QFile raw;
    const int fd = ::open((QFile::encodeName(data.path()) + '/' + strange).constData(), O_WRONLY | O_CREAT, 0600);
    ASSERT_TRUE(raw.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
    ASSERT_EQ(raw.write("odd name"), 8);
    raw.close();
    const QString zip = outPath(QStringLiteral("backup.zip"));
    for (const char *part : {".backup.zip.quillnest-backup-part-Ab12Cd", ".backup.zip.quillnest-backup-part-Ab12Cd.Ef34Gh",
                             ".old.zip.quillnest-backup-part-Xy56Zw"})
        writeAll(outPath(QString::fromLatin1(part)), "a killed backup");

    const Outcome written = backup::write(data.root(), zip, false);
    ASSERT_TRUE(written) << written.error().toStdString();
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("backup.zip")});
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(zip).constData(), ZIP_RDONLY, &error);
    ASSERT_NE(archive, nullptr);
    QList<QByteArray> names;
    for (zip_uint64_t i = 0; i < zip_uint64_t(zip_get_num_entries(archive, 0)); ++i)
        names.append(zip_get_name(archive, i, ZIP_FL_ENC_RAW));
    EXPECT_TRUE(names.contains(strange));
    zip_discard(archive);
    const QString restored = outPath(QStringLiteral("restored"));
    ASSERT_TRUE(backup::restore(zip, restored));
    QFile back;
    ASSERT_TRUE(back.open(::open((QFile::encodeName(restored) + '/' + strange).constData(), O_RDONLY), QIODevice::ReadOnly,
                          QFileDevice::AutoCloseHandle));
    EXPECT_EQ(back.readAll(), "odd name");
    EXPECT_EQ(::unlink((QFile::encodeName(restored) + '/' + strange).constData()), 0);

    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/mem"), data.path() + QStringLiteral("/dates/Dec-5.dat")));
    const Outcome refused = backup::write(data.root(), zip, false);
    EXPECT_TRUE(refused.error().contains(data.path() + QStringLiteral("/dates/Dec-5.dat could not be read"))) << refused.error().toStdString();
    EXPECT_TRUE(QFile::remove(data.path() + QStringLiteral("/dates/Dec-5.dat")));
    // Qt cannot name this file, so the temporary folder could not remove it.
    EXPECT_EQ(::unlink((QFile::encodeName(data.path()) + '/' + strange).constData()), 0);
}
