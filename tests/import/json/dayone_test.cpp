#include "import/readers.h"

#include "importtest.h"

#include "diary/backupzip.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zip.h>

#include <map>

using diaryimport::Entry;

namespace {

using Files = std::map<QString, QByteArray>;

const QString kFolder = QStringLiteral(SAMPLES "/dayone");
const QString kPhoto = QStringLiteral("photos/f9e9ae4e211fd755cdbbff63186cac9d.png");

Files filesUnder(const QString &folder)
{
    Files files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        files[QDir(folder).relativeFilePath(file.fileName())] = file.readAll();
    }
    return files;
}

void writeZip(const QString &path, const Files &files)
{
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(archive, nullptr);
    for (const auto &[name, bytes] : files) {
        zip_source_t *source = zip_source_buffer(archive, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        ASSERT_GE(zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(archive), 0);
}

void expectSampleEntries(const diaryimport::Read &read)
{
    ASSERT_FALSE(read.error) << refusal(read);
    const auto entries = wholeEntries(read);
    ASSERT_EQ(entries.size(), 5u);
    // 09:00 UTC is 11:00 in Berlin's summer time, then past midnight there; still the
    // evening before in New York; no zone, and a zone no one knows: the day and time in UTC.
    const std::pair<QDate, QTime> when[] = {{QDate(2020, 5, 1), QTime(11, 0)}, {QDate(2020, 5, 2), QTime(0, 30)},
                                            {QDate(2020, 5, 1), QTime(23, 0)}, {QDate(2020, 5, 3), QTime(12, 0)},
                                            {QDate(2020, 6, 10), QTime(8, 0)}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(entries[i].day, when[i].first) << i;
        EXPECT_EQ(entries[i].time, when[i].second) << i;
    }
    const Entry &walk = entries[0];
    EXPECT_EQ(walk.markup, Entry::Markup::Markdown);
    EXPECT_TRUE(walk.text.startsWith(QStringLiteral("# Morning walk\n\nSaw the first swifts\\! Cost: 3\\.50")));
    ASSERT_EQ(walk.pictureFiles.size(), 1);
    QString why;
    EXPECT_EQ(walk.pictureFiles.value(QStringLiteral("dayone-moment://4A1B2C3D4E5F60718293A4B5C6D7E8F9"))(why),
              filesUnder(kFolder).at(kPhoto));
    // A missing photo is left out, a HEIC one is left to the page; one the text does not show is not kept.
    EXPECT_EQ(entries[1].pictureFiles.keys(), QStringList{QStringLiteral("dayone-moment://B1B2B3B4B5B6B7B8B9BABBBCBDBEBFC0")});
    EXPECT_TRUE(entries[2].pictureFiles.isEmpty());
    EXPECT_EQ(entries[4].text, QStringLiteral("Packed for the trip\\."));
}

} // namespace

TEST(DayOne, ReadsEveryJournalOfTheFolderAndOfTheZip)
{
    expectSampleEntries(diaryimport::readDayOne(kFolder));
    QTemporaryDir dir;
    const QString zip = dir.filePath(QStringLiteral("export.zip"));
    writeZip(zip, filesUnder(kFolder));
    expectSampleEntries(diaryimport::readDayOne(zip));
}

TEST(DayOne, RefusesAMalformedJournalWholeNamingThePlace)
{
    const std::pair<const char *, const char *> faults[] = {
        {"numberdate.json", "entry 2: \"creationDate\" is not text"},
        {"worddate.json", "entry 2: \"creationDate\" is not a date and time: \"yesterday\""},
        {"numbermd5.json", "entry 2: photo 1: \"md5\" is not text"},
        {"cutoff.json", "line 1, column 105: unterminated object"},
    };
    QTemporaryDir dir;
    const QString zip = dir.filePath(QStringLiteral("export.zip"));
    for (const auto &[file, why] : faults) {
        const QByteArray json = filesUnder(sample("dayone-faults")).at(QString::fromLatin1(file));
        writeZip(zip, {{QStringLiteral("Journal.json"), json}, {QStringLiteral("Notes.json"), "{\"entries\": []}"}});
        const auto read = diaryimport::readDayOne(zip);
        EXPECT_EQ(refusal(read), std::string("export.zip/Journal.json: ") + why);
        EXPECT_TRUE(read.entries.empty());
    }
}

TEST(DayOne, GuardsTheZip)
{
    QTemporaryDir dir;
    Files files = filesUnder(kFolder);
    const QString noJournal = dir.filePath(QStringLiteral("photos.zip"));
    writeZip(noJournal, {{kPhoto, files.at(kPhoto)}, {QStringLiteral("photos/Journal.json"), "{}"}});
    EXPECT_EQ(refusal(diaryimport::readDayOne(noJournal)), "photos.zip: holds no Day One journal, no .json file at its top");

    // Zeros compress to almost nothing, so only the stated size shows it.
    const QString large = dir.filePath(QStringLiteral("large.zip"));
    files[kPhoto] = QByteArray(backup::zip::kLargestFile + 1, '\0');
    writeZip(large, files);
    const auto read = diaryimport::readDayOne(large);
    ASSERT_EQ(read.entries.size(), 5U) << refusal(read);
    QString why;
    const auto photos = wholeEntries(read)[0].pictureFiles;
    ASSERT_EQ(photos.size(), 1);
    EXPECT_FALSE(photos.begin().value()(why));
    EXPECT_EQ(why, QStringLiteral("large.zip/%1: larger than 80 MiB, more than an import takes").arg(kPhoto));

    const std::string notZip = refusal(diaryimport::readDayOne(sample("jrnl.json")));
    EXPECT_EQ(notZip.rfind("jrnl.json: is neither a Day One export's zip nor its folder: ", 0), 0u) << notZip;
}
