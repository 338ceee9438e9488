#include "diary/pagestore.h"

#include "testdataroot.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

namespace {

struct ToolRun
{
    int code = -1;
    QString out;
    QString err;
};

// The password, when given, goes in through the descriptor the tool reads it from.
ToolRun tool(QStringList arguments, const std::optional<QByteArray> &password = std::nullopt)
{
    if (password)
        arguments << QStringLiteral("--password-fd") << QStringLiteral("0");
    QProcess process;
    process.start(QStringLiteral(QUILLNEST_TOOL), arguments);
    if (password)
        process.write(*password + "\n");
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()), QString::fromLocal8Bit(process.readAllStandardError())};
}

QString sample(const char *name)
{
    return QStringLiteral(IMPORT_SAMPLES "/") + QLatin1String(name);
}

QStringList importDiary(const TestDataRoot &data, const char *from, const char *sampleName, const QStringList &more = {})
{
    return QStringList{QStringLiteral("import-diary"), QStringLiteral("--root"), data.path(), QStringLiteral("--from"),
                       QLatin1String(from), sample(sampleName)}
           + more;
}

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
    int error = 0;
    zip_t *one = zip_open(QFile::encodeName(onePath).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(one, nullptr);
    ASSERT_EQ(zip_file_add(one, "photo", zip_source_buffer(one, photo.constData(), zip_uint64_t(photo.size()), 0), 0), 0);
    ASSERT_EQ(zip_close(one), 0);
    one = zip_open(QFile::encodeName(onePath).constData(), ZIP_RDONLY, &error);
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
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
    for (const QString &argument : arguments)
        words.push_back(QFile::encodeName(argument));
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
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

TEST(ImportDiary, PrintsEachDayAndNeverDoublesADayOnASecondRun)
{
    TestDataRoot data;
    const QByteArray mine = "{\\rtf1 mine\\par}";
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 19), mine));

    const ToolRun first = tool(importDiary(data, "markdown", "markdown"));
    EXPECT_EQ(first.code, 0) << first.err.toStdString();
    EXPECT_EQ(first.out, QStringLiteral("2024-03-05 new page, 2 entries\n"
                                        "2024-03-19 skipped: it has a page\n"
                                        "2 days: 1 new, 0 added below a page, 1 skipped, 0 failed\n"));
    const auto imported = pagestore::load(data.root(), QDate(2024, 3, 5));

    const ToolRun again = tool(importDiary(data, "markdown", "markdown"));
    EXPECT_EQ(again.code, 0);
    EXPECT_EQ(again.out, QStringLiteral("2024-03-05 skipped: it has a page\n"
                                        "2024-03-19 skipped: it has a page\n"
                                        "2 days: 0 new, 0 added below a page, 2 skipped, 0 failed\n"));
    EXPECT_EQ(pagestore::load(data.root(), QDate(2024, 3, 5)), imported);

    const ToolRun appended = tool(importDiary(data, "markdown", "markdown", {QStringLiteral("--existing"), QStringLiteral("append")}));
    EXPECT_EQ(appended.code, 0);
    EXPECT_EQ(appended.out, QStringLiteral("2024-03-05 added below the page\n"
                                           "2024-03-19 added below the page\n"
                                           "2 days: 0 new, 2 added below a page, 0 skipped, 0 failed\n"));
    const QByteArray below = pagestore::load(data.root(), QDate(2024, 3, 19)).value_or(QByteArray());
    EXPECT_LT(below.indexOf("mine"), below.indexOf("winter"));

    QFile::remove(data.root().pagePath(QStringLiteral("2024-03-05")));
    QDir().mkpath(data.root().pagePath(QStringLiteral("2024-03-05")));
    const ToolRun failed = tool(importDiary(data, "markdown", "markdown", {QStringLiteral("--existing"), QStringLiteral("append")}));
    EXPECT_EQ(failed.code, 1);
    EXPECT_TRUE(failed.out.startsWith(QStringLiteral("2024-03-05 failed: "))) << failed.out.toStdString();
    EXPECT_TRUE(failed.out.endsWith(QStringLiteral("2 days: 0 new, 1 added below a page, 0 skipped, 1 failed\n")));
}

TEST(ImportDiary, ARefusedExportOrWrongArgumentsStoreNothing)
{
    TestDataRoot data;
    const ToolRun refused = tool(importDiary(data, "rednotebook", "rednotebook-broken"));
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.err, QStringLiteral("quillnest-tool: 2024-04.txt: line 5, column 2: end of sequence flow not found\n"));
    EXPECT_TRUE(refused.out.isEmpty());
    EXPECT_TRUE(data.everyName(QStringLiteral("pages")).isEmpty());

    EXPECT_EQ(tool(importDiary(data, "nowhere", "markdown")).code, 2);
    EXPECT_EQ(tool(importDiary(data, "markdown", "markdown", {QStringLiteral("--existing"), QStringLiteral("replace")})).code, 2);
    EXPECT_EQ(tool({QStringLiteral("import-diary"), QStringLiteral("--root"), data.path(), sample("markdown")}).code, 2);
    EXPECT_EQ(tool({QStringLiteral("import-diary"), QStringLiteral("--from"), QStringLiteral("markdown"), sample("markdown")}).code, 2);
    EXPECT_EQ(tool(importDiary(data, "markdown", "missing")).code, 1);

    EXPECT_TRUE(tool({QStringLiteral("--help")}).out.contains(QStringLiteral("import-diary")));
}

TEST(ImportDiary, AnEncryptedDiaryTakesTheEntriesWithItsPassword)
{
    TestDataRoot data;
    const ToolRun encrypted = tool({QStringLiteral("encrypt"), QStringLiteral("--root"), data.path()}, "correct horse");
    ASSERT_EQ(encrypted.code, 0) << encrypted.err.toStdString();

    const ToolRun wrong = tool(importDiary(data, "rednotebook", "rednotebook"), "correct horsf");
    EXPECT_EQ(wrong.code, 1);
    EXPECT_TRUE(wrong.err.contains(QStringLiteral("wrong password")));
    EXPECT_TRUE(data.everyName(QStringLiteral("pages")).isEmpty());

    const ToolRun imported = tool(importDiary(data, "rednotebook", "rednotebook"), "correct horse");
    ASSERT_EQ(imported.code, 0) << imported.err.toStdString();
    EXPECT_FALSE(imported.err.contains(QStringLiteral("QFont"))) << "Qt's readers have nothing to warn about";
    EXPECT_TRUE(imported.out.startsWith(QStringLiteral("2024-02-29 new page, 1 entry\n"))) << imported.out.toStdString();
    EXPECT_TRUE(imported.out.endsWith(QStringLiteral("6 days: 6 new, 0 added below a page, 0 skipped, 0 failed\n")));
    EXPECT_FALSE(pagestore::load(data.root(), QDate(2024, 3, 5)).value_or(QByteArray()).contains("harbour"))
        << "the page is sealed, not only scrambled";
    const QStringList search{QStringLiteral("search"), QStringLiteral("--root"), data.path(), QStringLiteral("harbour")};
    EXPECT_EQ(tool(search, "correct horse").out, QStringLiteral("2024-03-05.dat\n"));
}

TEST(ImportDiary, APaddedPhotoIsRefusedByItsStatedSizeAndItsEntryKept)
{
    QTemporaryDir dir;
    const QString zip = dir.filePath(QStringLiteral("padded.zip"));
    constexpr int kPhotos = 24;
    constexpr qsizetype kPadding = qsizetype(90) << 20;
    writePaddedDayOne(zip, kPhotos, kPadding);
    TestDataRoot data;
    const QString out = dir.filePath(QStringLiteral("out.txt"));
    const long peak = peakOfTool({QStringLiteral("import-diary"), QStringLiteral("--root"), data.path(), QStringLiteral("--from"),
                                  QStringLiteral("dayone"), zip},
                                 out);
    EXPECT_GT(peak, 0) << "the tool ran and succeeded";
    EXPECT_LT(peak, 256 * 1024) << "KiB at the tool's peak: no photo was read whole";
    QFile printed(out);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    const QString lines = QString::fromLocal8Bit(printed.readAll());
    EXPECT_TRUE(lines.contains(QStringLiteral("2020-05-24 new page, 1 entry; pictures left out: padded.zip/photos/m24.png: "
                                              "larger than 80 MiB, more than an import takes\n")))
        << lines.toStdString();
    EXPECT_EQ(lines.count(QStringLiteral("pictures left out")), kPhotos);
    EXPECT_TRUE(lines.endsWith(QStringLiteral("24 days: 24 new, 0 added below a page, 0 skipped, 0 failed\n")));
}
