#include "diary/backup.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "diary/passwordfile.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <thread>

#include <gtest/gtest.h>

namespace {

using std::chrono::microseconds;
using Files = std::map<QString, QByteArray>;

constexpr int kKills = 20;
constexpr int kWait = 20000;

Files filesUnder(const QString &folder)
{
    Files files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        files[QDir(folder).relativeFilePath(file.fileName())] = file.open(QIODevice::ReadOnly) ? file.readAll() : "unreadable";
    }
    return files;
}

// Enough pages that the tool spends most of its run restoring them; in memory,
// so a disk shared with builds cannot stretch a run unforeseeably.
QString makeDiary(const QString &path)
{
    const DataRoot root(path);
    QDir(path).mkpath(QStringLiteral("pages"));
    QDir(path).mkpath(QStringLiteral("dates"));
    for (int day = 0; day < 1500; ++day) {
        const QByteArray rtf = "{\\rtf1 " + QByteArray::number(day).repeated(day % 50 + 1) + "\\par}";
        EXPECT_TRUE(pagestore::save(root, QDate(2020, 1, 1).addDays(day), rtf));
    }
    EXPECT_TRUE(pagestore::save(root, QDate(2020, 1, 1), "{\\rtf1 The first page again.\\par}"));
    EXPECT_TRUE(notestore::save(root, daykeys::MonthDay{12, 4}, u"Anna's birthday"));
    EXPECT_TRUE(passwordfile::write(root.passwordFile(), u"secret words"));
    const QString zip = path + QStringLiteral("/../backup.zip");
    EXPECT_TRUE(backup::write(root, zip, true));
    return zip;
}

struct Restore
{
    QProcess tool;

    explicit Restore(const QString &zip, const QString &target)
    {
        tool.start(QStringLiteral(QUILLNEST_TOOL), {QStringLiteral("restore"), QStringLiteral("--from"), zip, QStringLiteral("--root"), target});
        EXPECT_TRUE(tool.waitForStarted(kWait));
    }
    bool finished() { return tool.waitForFinished(kWait) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0; }
};

// The hidden names beside the target: staging folders of restores.
QStringList hiddenBeside(const QString &parent)
{
    return QDir(parent).entryList({QStringLiteral(".*")}, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

// The tool restoring a diary is killed at random moments: each kill leaves no
// diary at the target or the whole one, and a second restore then finishes.
TEST(RestoreKillTest, AKilledRestoreLeavesNoDiaryOrAWholeOneAndTheNextRestoreFinishes)
{
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    const QTemporaryDir scratch((memory.isDir() && memory.isWritable() ? memory.filePath() : QDir::tempPath())
                                + QStringLiteral("/restorekill-XXXXXX"));
    ASSERT_TRUE(scratch.isValid());
    const QString diary = scratch.filePath(QStringLiteral("diary"));
    const QString zip = makeDiary(diary);
    const Files original = filesUnder(diary);
    const QString parent = scratch.filePath(QStringLiteral("restored"));
    const QString target = parent + QStringLiteral("/diary");
    ASSERT_FALSE(testing::Test::HasFailure());

    // The fastest of three whole runs, so the kills spread over one.
    qint64 wholeRun = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        ASSERT_TRUE(Restore(zip, target).finished());
        wholeRun = std::min(wholeRun, timer.nsecsElapsed() / 1000);
        ASSERT_EQ(filesUnder(target), original);
        ASSERT_TRUE(QDir(target).removeRecursively());
    }

    int whole = 0, none = 0, leftStaging = 0;
    std::mt19937 random(2026);
    std::uniform_int_distribution<qint64> moment(0, wholeRun * 5 / 4);
    for (int kill = 1; kill <= kKills; ++kill) {
        const microseconds delay(moment(random));
        SCOPED_TRACE("kill " + std::to_string(kill) + " after " + std::to_string(delay.count()) + " us");
        Restore killed(zip, target);
        std::this_thread::sleep_for(delay);
        killed.tool.kill();
        ASSERT_TRUE(killed.tool.waitForFinished(kWait));
        leftStaging += !hiddenBeside(parent).isEmpty();
        if (QFileInfo::exists(target)) {
            ++whole;
            ASSERT_EQ(filesUnder(target), original);
            ASSERT_TRUE(QDir(target).removeRecursively());
        } else {
            ++none;
        }
        ASSERT_TRUE(Restore(zip, target).finished());
        ASSERT_EQ(filesUnder(target), original);
        ASSERT_EQ(hiddenBeside(parent), QStringList());
        ASSERT_TRUE(QDir(target).removeRecursively());
    }
    std::printf("A whole run %lld us: %d kills left a whole diary, %d none, %d a staging folder\n",
                static_cast<long long>(wholeRun), whole, none, leftStaging);
    // Without one, no kill landed while the diary was being written.
    EXPECT_GT(leftStaging, 0);
}
