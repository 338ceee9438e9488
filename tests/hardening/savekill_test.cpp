#include "testdataroot.h"

#include "diary/passwordfile.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"

#include <QSet>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

const QDate kDay(2024, 3, 5);
const daykeys::MonthDay kNoteDay{3, 5};

// Two versions of every file, of different sizes, so a mix of both shows.
struct Version
{
    QByteArray page;
    QString note;
    QString password;
};

Version version(char mark, int size)
{
    return {"{\\rtf1 " + QByteArray(size, mark) + "\\par}", QString(size / 2, QLatin1Char(mark)),
            QString(size / 100, QLatin1Char(mark))};
}

bool saveAll(const TestDataRoot &data, const Version &v)
{
    return pagestore::save(data.root(), kDay, v.page) && notestore::save(data.root(), kNoteDay, v.note)
        && passwordfile::write(data.root().passwordFile(), v.password);
}

struct Stored
{
    QByteArray page, note, password;
    friend bool operator==(const Stored &, const Stored &) = default;
};

Stored stored(const TestDataRoot &data)
{
    return {data.readFile(QStringLiteral("pages/2024-03-05.dat")), data.readFile(QStringLiteral("dates/Mar-5.dat")),
            data.readFile(QStringLiteral("pw.dat"))};
}

// The names in a folder beyond the one expected: at most the temporary file
// of one killed save, which the next process to save there removes.
bool atMostOneLeftover(QStringList names, const QString &expected)
{
    if (names.removeAll(expected) != 1)
        return false;
    return names.isEmpty() || (names.size() == 1 && names[0].startsWith(QLatin1Char('.') + expected + QStringLiteral(".quillnest-saving-")));
}

// A new session: a process of its own that saves once and ends.
void saveInAnotherProcess(const TestDataRoot &data, const Version &v)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(saveAll(data, v) ? 0 : 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// Saves the two versions in turn until killed.
[[noreturn]] void saveForever(const TestDataRoot &data, const Version &a, const Version &b)
{
    for (;;) {
        if (!saveAll(data, b) || !saveAll(data, a))
            _exit(1);
    }
}

} // namespace

// A save killed at any moment leaves each file wholly old or wholly new, and
// temporary files never pile up: at most the last killed save's, until the
// next process saves there.
TEST(SaveKillTest, AThousandKilledSavesLeaveEveryFileWholeAndNoPileOfStrayFiles)
{
    TestDataRoot data;
    const Version a = version('a', 30000), b = version('b', 50000);
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(saveAll(data, b));
    const Stored storedB = stored(data);
    ASSERT_TRUE(saveAll(data, a));
    const Stored storedA = stored(data);
    // Kills must land after whole saves too, however slowly this build saves.
    const auto bothSaves = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started);

    std::mt19937 random(9);
    std::uniform_int_distribution<long long> moment(0, std::max<long long>(3000, 2 * bothSaves.count()));
    QSet<QByteArray> pagesSeen;
    for (int round = 0; round < 1000; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            saveForever(data, a, b);
        // A bounded wait: the kill lands somewhere in the child's saves.
        std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
        ASSERT_EQ(kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped saving by itself in round " << round;

        const Stored now = stored(data);
        ASSERT_TRUE(now.page == storedA.page || now.page == storedB.page) << "round " << round;
        ASSERT_TRUE(now.note == storedA.note || now.note == storedB.note) << "round " << round;
        ASSERT_TRUE(now.password == storedA.password || now.password == storedB.password) << "round " << round;
        ASSERT_TRUE(atMostOneLeftover(data.everyName(QStringLiteral("pages")), QStringLiteral("2024-03-05.dat"))) << "round " << round;
        ASSERT_TRUE(atMostOneLeftover(data.everyName(QStringLiteral("dates")), QStringLiteral("Mar-5.dat"))) << "round " << round;
        QStringList top = data.everyName(QString());
        ASSERT_TRUE(top.removeAll(QStringLiteral("pages")) == 1 && top.removeAll(QStringLiteral("dates")) == 1);
        top.removeAll(QStringLiteral("history"));
        ASSERT_TRUE(atMostOneLeftover(top, QStringLiteral("pw.dat"))) << "round " << round;
        pagesSeen.insert(now.page);
    }
    // Kills landed both before and after saves completed.
    EXPECT_EQ(pagesSeen.size(), 2);

    saveInAnotherProcess(data, a);
    EXPECT_EQ(stored(data), storedA);
    EXPECT_EQ(data.everyName(QStringLiteral("pages")), QStringList{QStringLiteral("2024-03-05.dat")});
    EXPECT_EQ(data.everyName(QStringLiteral("dates")), QStringList{QStringLiteral("Mar-5.dat")});
    EXPECT_EQ(data.everyName(QString()),
              (QStringList{QStringLiteral("dates"), QStringLiteral("history"), QStringLiteral("pages"), QStringLiteral("pw.dat")}));
    // Every kept version is one of the two saves, whole.
    for (const auto &[folder, first, second] : {std::tuple{QStringLiteral("history/pages/2024-03"), storedA.page, storedB.page},
                                                std::tuple{QStringLiteral("history/dates"), storedA.note, storedB.note}}) {
        const QStringList versions = data.everyName(folder);
        EXPECT_GE(versions.size(), 2);
        for (const QString &version : versions) {
            const QByteArray bytes = data.readFile(folder + QLatin1Char('/') + version);
            EXPECT_TRUE(bytes == first || bytes == second) << version.toStdString();
        }
    }
}

// Only the temporary files of killed saves go, of any page: the user's
// files stay, whatever their names.
TEST(SaveKillTest, TheFirstSaveInAFolderRemovesTheLeftoversOfKilledOnes)
{
    TestDataRoot data;
    data.writeFile(QStringLiteral("pages/.2024-03-05.dat.quillnest-saving-aB3xY9"), "cut off");
    data.writeFile(QStringLiteral("pages/.1999-01-01.dat.quillnest-saving-Zz0000"), "cut off");
    data.writeFile(QStringLiteral("pages/2024-03-05.dat.backup"), "mine");
    data.writeFile(QStringLiteral("pages/.2024-03-05.dat.aB3xY9"), "mine too");
    ASSERT_TRUE(pagestore::save(data.root(), kDay, "{\\rtf1 x}"));
    EXPECT_EQ(data.everyName(QStringLiteral("pages")),
              (QStringList{QStringLiteral(".2024-03-05.dat.aB3xY9"), QStringLiteral("2024-03-05.dat"), QStringLiteral("2024-03-05.dat.backup")}));
}
