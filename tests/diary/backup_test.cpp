#include "diary/backup.h"
#include "diary/passwordfile.h"
#include "vault/vault.h"

#include "diaryfixture.h"
#include "diskfull.h"


#include <zip.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>

#include <sys/file.h>

namespace {

using namespace Qt::StringLiterals;
using Files = std::map<QString, QByteArray>;

// Letters no compressor shrinks much, so this page makes most of an archive.
QByteArray longPage()
{
    QByteArray text;
    for (std::mt19937 random(12345); text.size() < 200000;)
        text += char('a' + random() % 26);
    return "{\\rtf1 " + text + '}';
}

class BackupTest : public DiaryTest
{
protected:
    void SetUp() override
    {
        page(QDate(2026, 11, 20), longPage());
        page(kDay, "{\\rtf1 Skating}");
        page(kDay, "{\\rtf1 Skating, and then tea}");
        ASSERT_TRUE(notestore::save(data.root(), daykeys::MonthDay{12, 4}, u"Anna's birthday"));
        ASSERT_TRUE(passwordfile::write(data.root().passwordFile(), u"secret words"));
        data.writeFile(QStringLiteral("dates/M\u00e4r-5.dat"), notestore::encodeNote(u"Tante K\u00e4the"));
        diary = filesUnder(data.path());
        // The program's own files and whatever is hidden are no part of a backup.
        ASSERT_TRUE(QDir(data.path()).mkdir(QStringLiteral(".drafts")));
        for (const char *notBackedUp : {"help.htm", ".drafts/page@2026-12-04.dat", "pages/.2026-12-04.dat.quillnest-saving-Ab12Cd"})
            data.writeFile(QString::fromLatin1(notBackedUp), "not backed up");
        ASSERT_TRUE(backup::write(data.root(), zip, true));
    }

    void writeAll(const QString &name, const QByteArray &bytes) const
    {
        QFile file(out.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << name.toStdString();
    }
    // An archive some other program made, for names no backup of ours holds.
    QByteArray zipOf(const QStringList &names, QByteArrayView bytes = "{\\rtf1 x}") const
    {
        int error = 0;
        zip_t *archive = zip_open(QFile::encodeName(out.filePath(QStringLiteral("foreign.zip"))).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        for (const QString &name : names)
            EXPECT_GE(zip_file_add(archive, name.toUtf8().constData(), zip_source_buffer(archive, bytes.data(), zip_uint64_t(bytes.size()), 0), ZIP_FL_ENC_UTF_8), 0);
        EXPECT_EQ(zip_close(archive), 0);
        return filesUnder(out.path()).at(QStringLiteral("foreign.zip"));
    }
    QString entries() const { return QDir(out.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name).join(u' '); }

    Files diary;
    const QString zip = out.filePath(QStringLiteral("backup.zip"));
};

} // namespace

TEST_F(BackupTest, ARestoredDiaryHasEveryFileByteForByteAndTheHistoryOnlyWhenAsked)
{
    ASSERT_TRUE(backup::restore(zip, out.filePath(QStringLiteral("new/diary/"))));
    EXPECT_EQ(filesUnder(out.filePath(QStringLiteral("new/diary/"))), diary);

    // Written over the archive made with the history.
    ASSERT_TRUE(backup::write(data.root(), zip, false));
    const QString emptyFolder = out.filePath(QStringLiteral("empty"));
    const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    ASSERT_TRUE(QDir().mkdir(emptyFolder) && QFile::setPermissions(emptyFolder, ownerOnly));
    ASSERT_TRUE(backup::restore(zip, emptyFolder));
    ASSERT_EQ(std::erase_if(diary, [](const auto &file) { return file.first.startsWith(u"history/"); }), 1u) << "the page saved twice has one earlier version";
    EXPECT_EQ(std::pair(QFileInfo(emptyFolder).permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), filesUnder(emptyFolder)),
              std::pair(QFileDevice::Permissions(ownerOnly), diary));

    // A diary with nothing written yet still restores as one.
    TestDataRoot blank;
    ASSERT_TRUE(backup::write(blank.root(), out.filePath(QStringLiteral("blank.zip")), true));
    ASSERT_TRUE(backup::restore(out.filePath(QStringLiteral("blank.zip")), out.filePath(QStringLiteral("blank"))));
    EXPECT_EQ(QDir(out.filePath(QStringLiteral("blank"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot), (QStringList{"dates", "pages"}));
}

TEST_F(BackupTest, ARestoreRefusesDamagedOrForeignArchivesAndLeavesNothing)
{
    const QByteArray whole = filesUnder(out.path()).at(QStringLiteral("backup.zip"));
    QByteArray flipped = whole;
    for (qsizetype i = whole.size() / 2; i < whole.size() / 2 + 16; ++i)
        flipped[i] = char(~flipped[i]);
    const QString damaged = QStringLiteral("is damaged or is not a Quillnest backup");
    const std::pair<QByteArray, QString> cases[] = {
        {zipOf({kPage, QStringLiteral("../evil")}), QStringLiteral("holds '../evil'")},
        {zipOf({kPage, QStringLiteral("pages/../../evil")}), QStringLiteral("holds 'pages/../../evil'")},
        {zipOf({kPage, out.filePath(QStringLiteral("evil"))}), QStringLiteral("which is no part")},
        {zipOf({kPage, QStringLiteral("notes.txt")}), QStringLiteral("holds 'notes.txt'")},
        {zipOf({QStringLiteral("dates/Dec-4.dat")}), damaged},
        {zipOf({kPage, QStringLiteral("pw.dat")}, sealing::kHeader.toByteArray() + "sealed"), QStringLiteral("password file is missing or a plain diary's")},
        {flipped, damaged},
        {whole.left(whole.size() / 2), damaged},
    };
    const QString foreign = out.filePath(QStringLiteral("foreign.zip"));
    const QString emptyFolder = out.filePath(QStringLiteral("empty"));
    ASSERT_TRUE(QDir().mkdir(emptyFolder));
    for (const auto &[bytes, says] : cases) {
        SCOPED_TRACE(says.toStdString());
        writeAll(QStringLiteral("foreign.zip"), bytes);
        for (const QString &target : {out.filePath(QStringLiteral("new")), emptyFolder}) {
            const QString error = backup::restore(foreign, target).error();
            EXPECT_TRUE(error.startsWith(u'\'' + foreign + QStringLiteral("' ")) && error.contains(says)) << error.toStdString();
        }
        EXPECT_EQ(std::pair(entries(), QDir(emptyFolder).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)),
                  std::pair(u"backup.zip empty foreign.zip"_s, true));
    }
}

TEST_F(BackupTest, AFullDiskLeavesTheOlderArchiveAndNoHalfFile)
{
    const auto whenFull = [](const auto &act) {
        const DiskFull full(4096);
        return act();
    };
    EXPECT_TRUE(!whenFull([&] { return backup::restore(zip, out.filePath(QStringLiteral("new"))); }) && entries() == u"backup.zip");

    writeAll(QStringLiteral("backup.zip"), "an older backup");
    const Outcome written = whenFull([&] { return backup::write(data.root(), zip, true); });
    EXPECT_TRUE(written.error().startsWith(QStringLiteral("The backup %1 could not be written").arg(zip))) << written.error().toStdString();
    EXPECT_EQ(filesUnder(out.path()), (Files{{QStringLiteral("backup.zip"), "an older backup"}}));
}

TEST_F(BackupTest, ARestoreClearsWhatKilledRestoresToItsFolderLeftAndNothingElse)
{
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
        writeAll(folders[marked] + mark, "");
    writeAll(folders[0] + QStringLiteral("/pages.dat"), "half a diary");
    writeAll(folders[3] + QStringLiteral("/notes.txt"), "mine");
    ASSERT_TRUE(QFile::link(out.filePath(QStringLiteral("elsewhere")), out.filePath(QStringLiteral(".new.restoring-Wx12Yz"))));
    QFile running(out.filePath(folders[2] + mark));
    ASSERT_TRUE(running.open(QIODevice::ReadOnly));
    ASSERT_EQ(::flock(running.handle(), LOCK_EX | LOCK_NB), 0);

    ASSERT_TRUE(backup::restore(zip, out.filePath(QStringLiteral("new"))));
    EXPECT_EQ(std::tuple(filesUnder(out.filePath(u"new"_s)), entries(), QFileInfo::exists(out.filePath(u"elsewhere"_s) + mark)),
              std::tuple(diary, QStringList({folders[2], folders[3], folders[4], u".new.restoring-Wx12Yz"_s, folders[5], u"backup.zip"_s, folders[6], u"new"_s}).join(u' '), true));
}

// A name that is not UTF-8 comes back byte for byte, what killed backups left beside the archive goes,
// and a file that cannot be read is named.
TEST_F(BackupTest, KeepsEveryNameRemovesKilledPartsAndNamesWhatItCannotRead)
{
    const std::string strange = QFile::encodeName(data.path()).toStdString() + "/pages/caf\xe9.dat";
    ASSERT_TRUE(std::ofstream(strange) << "odd name");
    for (const char *part : {".backup.zip.quillnest-backup-part-Ab12Cd", ".backup.zip.quillnest-backup-part-Ab12Cd.Ef34Gh",
                             ".old.zip.quillnest-backup-part-Xy56Zw"})
        writeAll(QString::fromLatin1(part), "a killed backup");
    EXPECT_EQ((std::pair{backup::write(data.root(), zip, false).error(), entries()}), std::pair(QString(), u"backup.zip"_s));
    ASSERT_TRUE(backup::restore(zip, out.filePath(QStringLiteral("restored"))));
    const std::string back = QFile::encodeName(out.filePath(QStringLiteral("restored"))).toStdString() + "/pages/caf\xe9.dat";
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(std::ifstream(back).rdbuf()), {}), "odd name");
    // Qt cannot name these files, so the temporary folders could not remove them.
    EXPECT_TRUE(std::filesystem::remove(back) && std::filesystem::remove(strange));

    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/mem"), data.path() + QStringLiteral("/dates/Dec-5.dat")));
    const Outcome refused = backup::write(data.root(), zip, false);
    EXPECT_TRUE(refused.error().contains(data.path() + QStringLiteral("/dates/Dec-5.dat could not be read"))) << refused.error().toStdString();
}
