#include "toolfixture.h"

#include <QDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

namespace {

using ImportDiary = ToolTest;

// A Day One export of `count` entries, each showing its own photo: a tiny
// image followed by `padding` zeros, which deflate to almost nothing.
void writePaddedDayOne(const QString &path, int count, qsizetype padding)
{
    QByteArray photo = QByteArray::fromBase64("iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAAAAAA6fptVAAAACklEQVR4nGNgAAAAAgABSK+kcQAAAABJRU5ErkJggg==");
    photo.resize(photo.size() + padding, '\0');
    QStringList entries;
    for (int i = 1; i <= count; ++i)
        entries.append(QStringLiteral(R"j({"creationDate": "2020-05-%1T09:00:00Z", "text": "day %2 ![](dayone-moment://P%2)", )j"
                                      R"j("photos": [{"identifier": "P%2", "md5": "m%2", "type": "png"}]})j")
                           .arg(i, 2, 10, QLatin1Char('0'))
                           .arg(i));
    const QByteArray journal = "{\"entries\": [" + entries.join(QLatin1Char(',')).toUtf8() + "]}";
    // Deflated once, then copied compressed into every place.
    const QString onePath = path + QStringLiteral(".one");
    zip_t *one = zip_open(QFile::encodeName(onePath).constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    ASSERT_NE(one, nullptr);
    ASSERT_EQ(zip_file_add(one, "photo", zip_source_buffer(one, photo.constData(), zip_uint64_t(photo.size()), 0), 0), 0);
    ASSERT_EQ(zip_close(one), 0);
    one = zip_open(QFile::encodeName(onePath).constData(), ZIP_RDONLY, nullptr);
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    ASSERT_TRUE(one && archive);
    ASSERT_GE(zip_file_add(archive, "Journal.json", zip_source_buffer(archive, journal.constData(), zip_uint64_t(journal.size()), 0), 0), 0);
    for (int i = 1; i <= count; ++i)
        ASSERT_GE(zip_file_add(archive, "photos/m" + QByteArray::number(i) + ".png", zip_source_zip(archive, one, 0, 0, 0, -1), 0), 0);
    ASSERT_EQ(zip_close(archive), 0);
    zip_discard(one);
}

// The tool's own peak memory in KiB, from its exit status, which no other child shares.
long peakOfTool(const QStringList &arguments, const QString &out)
{
    std::vector<QByteArray> words{QByteArray(QUILLNEST_TOOL)};
    std::ranges::transform(arguments, std::back_inserter(words), &QFile::encodeName);
    std::vector<char *> argv;
    std::ranges::transform(words, std::back_inserter(argv), [](QByteArray &word) { return word.data(); });
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, QFile::encodeName(out).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    rusage usage{};
    int status = 0;
    if (spawned != 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

} // namespace

#define MARKDOWN "import-diary --root {root} --from markdown {samples}/markdown"

TEST_F(ImportDiary, PrintsEachDayAndNeverDoublesADayOnASecondRun)
{
    page(QDate(2024, 3, 19), "{\\rtf1 mine\\par}");
    play({{MARKDOWN, 0, "2024-03-05 new page, 2 entries\n2024-03-19 skipped: it has a page\n"
                        "2 days: 1 new, 0 added below a page, 1 skipped, 0 failed\n"}});
    const QByteArray imported = pageOf(QDate(2024, 3, 5));
    play({{MARKDOWN, 0, "2024-03-05 skipped: it has a page\n2024-03-19 skipped: it has a page\n"
                        "2 days: 0 new, 0 added below a page, 2 skipped, 0 failed\n"}});
    EXPECT_EQ(pageOf(QDate(2024, 3, 5)), imported);
    // A page that holds the day's entries already is not added to again.
    play({{MARKDOWN " --existing append", 0, "2024-03-19 added below the page\n"
                                             "1 day: 0 new, 1 added below a page, 0 skipped, 0 failed\n"}});
    const QByteArray below = pageOf(QDate(2024, 3, 19));
    EXPECT_LT(below.indexOf("mine"), below.indexOf("winter"));

    QFile::remove(data.root().pagePath(QStringLiteral("2024-03-05")));
    QDir().mkpath(data.root().pagePath(QStringLiteral("2024-03-05")));
    play({{MARKDOWN " --existing append", 1,
           "2024-03-05 failed: {root}/pages/2024-03-05.dat: The name is a folder's, not a file's.\n"
           "1 day: 0 new, 0 added below a page, 0 skipped, 1 failed\n"}});
    EXPECT_EQ(pageOf(QDate(2024, 3, 19)), below);
}

TEST_F(ImportDiary, AnEncryptedDiaryTakesTheEntriesWithItsPassword)
{
    // Qt's readers have nothing to warn about: stderr stays empty.
    play({{.line = "encrypt --root {root}", .out = "Diary encrypted\n", .password = "correct horse"},
          {.line = "import-diary --root {root} --from rednotebook {samples}/rednotebook", .err = "", .password = "correct horse",
           .shows = "8 days: 8 new, 0 added below a page, 0 skipped, 0 failed\n"},
          {.line = "search --root {root} harbour", .out = "2024-03-05.dat\n", .password = "correct horse"}});
    EXPECT_FALSE(pageOf(QDate(2024, 3, 5)).contains("harbour")) << "the page is sealed, not only scrambled";
}

TEST_F(ImportDiary, APaddedPhotoIsRefusedByItsStatedSizeAndItsEntryKept)
{
    constexpr int kPhotos = 24;
    writePaddedDayOne(out.filePath(QStringLiteral("padded.zip")), kPhotos, qsizetype(30) << 20);
    const long peak = peakOfTool(words("import-diary --root {root} --from dayone {out}/padded.zip"), out.filePath(QStringLiteral("out.txt")));
    EXPECT_GT(peak, 0) << "the tool ran and succeeded";
    EXPECT_LT(peak, 256 * 1024) << "KiB at the tool's peak: no photo was read whole";
    QByteArray printed;
    for (int i = 1; i <= kPhotos; ++i)
        printed += QStringLiteral("2020-05-%1 new page, 1 entry; pictures left out: padded.zip/photos/m%2.png: larger than 20 MiB, more than an import takes\n")
                       .arg(i, 2, 10, QLatin1Char('0'))
                       .arg(i)
                       .toUtf8();
    EXPECT_EQ(written(QStringLiteral("out.txt")), printed + "24 days: 24 new, 0 added below a page, 0 skipped, 0 failed\n");
}
