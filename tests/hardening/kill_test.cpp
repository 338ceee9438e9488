// Jobs on a diary killed at random moments. Each job runs in a fork of this
// program, or typing in a child started with --type, so that a kill can land
// anywhere.

#include "cheapkdf.h"
#include "diary/backup.h"
#include "diary/conversion.h"
#include "diary/keyslotfile.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "diary/passwordfile.h"
#include "diary/safewrite.h"
#include "diary/storedbytes.h"
#include "fixedclock.h"
#include "recordingprogram.h"
#include "richtext/pageexport.h"
#include "richtext/rtfreader.h"
#include "scripteddialogs.h"
#include "session/daybook.h"
#include "session/diarysession.h"
#include "session/sessiondrafts.h"
#include "testapplication.h"
#include "testdataroot.h"
#include "vault/vault.h"

#include <QGuiApplication>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTimer>

#include <chrono>
#include <functional>
#include <random>
#include <ranges>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

using Steady = std::chrono::steady_clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;
using Files = std::map<QString, QByteArray>;

constexpr int kWait = 20000;
// A conversion encrypts with the first, and a renewal changes it to the second.
const QString kPassword = QStringLiteral("correct horse battery"), kNewPassword = QStringLiteral("staple battery horse");
// Some kills land while a draft stands, some just after a save removed it.
constexpr int kWordsBetweenSaves = 150;
// The drafts' delay, and room for a loaded machine to schedule the typing child's timer and write.
constexpr milliseconds kDraftDelay(200), kSlack(500);

// A line the killer reads: what happened, a number and when, by the clock all processes share.
void say(const char *what, long long number)
{
    const auto now = std::chrono::duration_cast<microseconds>(Steady::now().time_since_epoch());
    std::printf("%s %lld %lld\n", what, number, static_cast<long long>(now.count()));
    std::fflush(stdout);
}

// Two versions of a page, a note and the password of different sizes, so a file mixing both shows.
bool saveVersion(const DataRoot &root, char mark)
{
    const int size = mark == 'a' ? 30000 : 50000;
    return pagestore::save(root, QDate(2024, 3, 5), "{\\rtf1 " + QByteArray(size, mark) + "\\par}")
        && notestore::save(root, daykeys::MonthDay{3, 5}, QString(size / 2, QLatin1Char(mark)))
        && passwordfile::write(root.passwordFile(), QString(size / 100, QLatin1Char(mark)));
}

// Types into today's page a word every few milliseconds, saving now and then,
// and says every word typed ("t N") and every save that returned ("s N").
int typeForever(int &argc, char **argv, const QString &path)
{
    QGuiApplication application(argc, argv);
    ScriptedDialogs dialogs;
    FixedClock clock{QDate(2026, 12, 4)};
    RecordingProgram program;
    DiarySession session(dialogs, clock);
    session.drafts().setDelay(kDraftDelay);
    session.setDataRoot(path);
    dialogs.answerMessage(Dialogs::Button::Ok);
    if (!session.signIn(program))
        return 1;
    int words = 0;
    QTimer typing;
    QObject::connect(&typing, &QTimer::timeout, [&] {
        session.book().markChanged();
        QTextCursor cursor(&session.book().page());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(QStringLiteral("w%1 ").arg(++words));
        say("t", words);
        if (words % kWordsBetweenSaves == 0) {
            dialogs.answerMessage(Dialogs::Button::Yes);
            session.book().SavePage();
            say("s", words);
        }
    });
    typing.start(4);
    return application.exec();
}

// The encrypted diary at path, when password opens it.
std::optional<DataRoot> opened(const QString &path, const QString &password)
{
    auto key = KeySlotFile(DataRoot(path).passwordFile()).open(keyslot::passwordBytes(password));
    return key ? std::optional(DataRoot(path, std::make_shared<Vault>(std::move(key->key), key->slot))) : std::nullopt;
}

enum Form { Plain, Encrypted, Renewed };

// Takes the diary from its form to the next: plain to encrypted with the first
// password, renewed to the second, and back to plain.
bool convert(const QString &path, Form from)
{
    const auto root = opened(path, from == Renewed ? kNewPassword : kPassword);
    if (from == Renewed)
        return root && bool(conversion::decrypt(*root, passwordfile::fileBytes(kPassword)));
    SecretBytes master = keyslot::newMasterKey();
    const auto slot = keyslot::make(master, keyslot::passwordBytes(from == Plain ? kPassword : kNewPassword), kdfPolicy().chooseForNewSlot());
    if (!slot || (from != Plain && !root))
        return false;
    const Vault vault(std::move(master), *slot);
    return bool(from == Plain ? conversion::encrypt(DataRoot(path), vault, keyslot::format(*slot))
                              : conversion::rekey(*root, vault, keyslot::format(*slot)));
}

// A job in a fork of this process (a start would cost more than a save), or
// this program typing, killed part way through.
struct Child
{
    QProcess process;
    pid_t forked = 0;
    // Its exit code, -1 when killed; what it said; when it was killed.
    int exitCode = -1;
    QByteArray said;
    Steady::time_point killedAt;

    // The job once, or again and again until it fails.
    bool fork(const std::function<bool()> &job, bool again = false)
    {
        forked = ::fork();
        if (forked == 0) {
            bool done = job();
            while (done && again)
                done = job();
            ::_exit(done ? 0 : 1);
        }
        return forked > 0;
    }
    // Waits for it to end.
    void end()
    {
        if (forked > 0) {
            int status = 0;
            exitCode = ::waitpid(forked, &status, 0) == forked && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            return;
        }
        const bool ended = process.waitForFinished(kWait);
        exitCode = ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        said = process.readAll();
    }
    // A job that ended by itself before the kill must have succeeded.
    void killAfter(microseconds delay)
    {
        std::this_thread::sleep_for(delay);
        killedAt = Steady::now();
        if (forked > 0)
            ::kill(forked, SIGKILL);
        else
            process.kill();
        end();
        EXPECT_LE(exitCode, 0) << "the job failed";
    }
    // A child left to finish: how long it took, or -1 us when it failed.
    static microseconds run(const std::function<bool(Child &)> &start)
    {
        Child child;
        const Steady::time_point went = Steady::now();
        const bool started = start(child);
        child.end();
        return started && child.exitCode == 0 ? std::chrono::duration_cast<microseconds>(Steady::now() - went) : microseconds(-1);
    }
};

// Starts a job again and again and kills it at a random moment up to a quarter
// past its whole run (every tenth as it begins), checking after each kill.
void killRepeatedly(int kills, const std::function<microseconds()> &wholeRun, const std::function<bool(Child &)> &start,
                    const std::function<void(const Child &)> &check)
{
    std::mt19937 random(1907);
    for (int kill = 0; kill < kills; ++kill) {
        std::uniform_int_distribution<long long> moment(0, wholeRun().count() * 5 / 4);
        const microseconds delay(kill % 10 == 0 ? 0 : moment(random));
        SCOPED_TRACE("kill " + std::to_string(kill) + " after " + std::to_string(delay.count()) + " us");
        Child child;
        ASSERT_TRUE(start(child));
        child.killAfter(delay);
        ASSERT_NO_FATAL_FAILURE(check(child));
    }
}

// The fastest of whole runs: a loaded machine only ever slows a run.
microseconds fastest(int runs, const std::function<microseconds()> &run)
{
    microseconds best = microseconds::max();
    for (int round = 0; round < runs && best.count() >= 0; ++round)
        best = std::min(best, run());
    return best;
}

// Kills land between the same steps in memory as on a disk, and a disk shared
// with builds makes a run ten times as long and its length unforeseeable.
QString inMemory()
{
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    return (memory.isDir() && memory.isWritable() ? memory.filePath() : QDir::tempPath()) + QStringLiteral("/kill-XXXXXX");
}

// The files in a folder beyond the one expected: at most the temporary file
// of one killed save, which the next process to save there removes.
bool atMostOneLeftover(const QString &folder, const QString &expected)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    return names.removeAll(expected) == 1
        && (names.isEmpty() || (names.size() == 1 && names[0].startsWith(QLatin1Char('.') + expected + QStringLiteral(".quillnest-saving-"))));
}

// Empty when the folder is wholly one form, which form then is; else what is wrong.
std::string problemWith(const QString &rootPath, const Files &original, Form &form)
{
    if (QFileInfo::exists(rootPath + QStringLiteral("/.converting")) || QFileInfo::exists(rootPath + QStringLiteral("/.converting-old")))
        return "a folder of the conversion is left";
    const Files now = filesUnder(rootPath);
    if (!std::ranges::equal(now | std::views::keys, original | std::views::keys))
        return "the files are not the diary's";
    const bool plain = now.at(QStringLiteral("pw.dat")) == passwordfile::fileBytes(kPassword);
    std::optional<DataRoot> root = plain ? DataRoot(rootPath) : opened(rootPath, kPassword);
    form = plain ? Plain : root ? Encrypted : Renewed;
    root = root ? root : opened(rootPath, kNewPassword);
    if (!root)
        return "pw.dat is neither the scrambled password nor a key slot that opens with either password";
    for (const auto &[name, bytes] : original) {
        const QString storedAs = rootPath + QLatin1Char('/') + conversion::storedNameOf(name);
        if (name != QLatin1String("pw.dat") && storedbytes::read(*root, rootPath + QLatin1Char('/') + name, bytes.size(), storedAs) != bytes)
            return name.toStdString() + " does not read back as it was in form " + std::to_string(form);
    }
    return {};
}

// A diary in memory where there is some, filled on demand.
class KillTest : public testing::Test
{
protected:
    // Pages of different lengths, ten notes, an earlier version of a page and
    // of a note, a draft and a password.
    void fill(int pages)
    {
        useCheapKeyDerivation();
        ASSERT_TRUE(scratch.isValid());
        const DataRoot root(diary);
        for (const char *folder : {"pages", "dates", ".drafts"})
            QDir(diary).mkpath(QLatin1String(folder));
        for (int page = 0; page < pages; ++page) {
            const QByteArray lines = QStringLiteral("A line of page %1.\\par\n").arg(page).toLatin1().repeated(page % 40 + 1);
            ASSERT_TRUE(pagestore::save(root, QDate(2025, 1, 1).addDays(page * 9), "{\\rtf1\\ansi " + lines + "}"));
        }
        ASSERT_TRUE(pagestore::save(root, QDate(2025, 1, 1), "{\\rtf1\\ansi The first page again.\\par}"));
        for (int note = 0; note < 10; ++note)
            ASSERT_TRUE(notestore::save(root, daykeys::monthDay(QDate(2025, note + 1, note + 3)), QStringLiteral("Note %1.").arg(note)));
        ASSERT_TRUE(notestore::save(root, daykeys::monthDay(QDate(2025, 1, 3)), QStringLiteral("The first note again.")));
        ASSERT_TRUE(writeFileAtomically(root.path() + QStringLiteral("/.drafts/page@2025-01-10.dat"),
                                        *pagestore::encodePage("{\\rtf1\\ansi A draft.\\par}")));
        ASSERT_TRUE(passwordfile::write(root.passwordFile(), kPassword));
        original = filesUnder(root.path());
    }

    const QTemporaryDir scratch{inMemory()};
    const QString diary = scratch.filePath(QStringLiteral("diary"));
    Files original;
};

// How many words a stored page is, or -1 when it is not what the child typed.
int wordsIn(const QString &file)
{
    const auto rtf = pagestore::loadFile(DataRoot(QString()), file);
    QTextDocument document;
    EXPECT_TRUE(!rtf || richtext::readRtf(*rtf, document));
    const QString text = richtext::plainText(document);
    QString typed;
    for (int word = 1; typed.size() < text.size(); ++word)
        typed += QStringLiteral("w%1 ").arg(word);
    return typed == text ? int(text.count(u' ')) : -1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && QByteArray(argv[1]) == "--type")
        return typeForever(argc, argv, QFile::decodeName(argv[2]));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// A save killed at any moment leaves each file wholly old or wholly new, and
// temporary files never pile up: at most the last killed save's, until the
// next process saves there, which removes only those.
TEST_F(KillTest, AThousandKilledSavesLeaveEveryFileWholeAndTheNextSaveRemovesOnlyTheirLeftovers)
{
    TestDataRoot data;
    const auto saving = [&](char mark) { return Child::run([&](Child &child) { return child.fork([&] { return saveVersion(data.root(), mark); }); }); };
    const auto stored = [&] {
        return QList<QByteArray>{data.readFile(QStringLiteral("pages/2024-03-05.dat")), data.readFile(QStringLiteral("dates/Mar-5.dat")),
                                 data.readFile(QStringLiteral("pw.dat"))};
    };
    const microseconds savingB = saving('b');
    const QList<QByteArray> storedB = stored();
    const microseconds savingA = saving('a');
    const QList<QByteArray> storedA = stored();
    ASSERT_TRUE(savingA.count() >= 0 && savingB.count() >= 0);
    QSet<QByteArray> pagesSeen;
    killRepeatedly(
        // Kills must land after whole saves too, however slowly this build saves.
        1000, [&] { return std::max(microseconds(2400), (savingA + savingB) * 8 / 5); },
        [&](Child &child) { return child.fork([&] { return saveVersion(data.root(), 'b') && saveVersion(data.root(), 'a'); }, true); },
        [&](const Child &) {
            const QList<QByteArray> now = stored();
            for (int file = 0; file < 3; ++file)
                ASSERT_TRUE(now[file] == storedA[file] || now[file] == storedB[file]) << file;
            for (const auto &[folder, name] : {std::pair{"/pages", "2024-03-05.dat"}, std::pair{"/dates", "Mar-5.dat"}, std::pair{"", "pw.dat"}})
                ASSERT_TRUE(atMostOneLeftover(data.path() + QLatin1String(folder), QLatin1String(name))) << name;
            pagesSeen.insert(now[0]);
        });
    // Kills landed both before and after saves completed.
    EXPECT_EQ(pagesSeen.size(), 2);

    ASSERT_GE(saving('a').count(), 0);
    EXPECT_EQ(stored(), storedA);
    EXPECT_EQ(data.everyName(QStringLiteral("pages")) + data.everyName(QStringLiteral("dates")) + data.everyName(QString()),
              QStringLiteral("2024-03-05.dat Mar-5.dat dates history pages pw.dat").split(u' '));
    // Every kept version is one of the two saves, whole.
    for (const auto &[folder, file] : {std::pair{"history/pages/2024-03", 0}, std::pair{"history/dates", 1}}) {
        const Files versions = filesUnder(data.path() + QLatin1Char('/') + QLatin1String(folder));
        EXPECT_GE(versions.size(), 2u);
        for (const auto &[version, bytes] : versions)
            EXPECT_TRUE(bytes == storedA[file] || bytes == storedB[file]) << version.toStdString();
    }
    for (const char *name : {"2024-03-05.dat.quillnest-saving-aB3xY9", "1999-01-01.dat.quillnest-saving-Zz0000", "2024-03-05.dat.aB3xY9"})
        data.writeFile(QStringLiteral("pages/.") + QLatin1String(name), "cut off, or the user's own");
    data.writeFile(QStringLiteral("pages/2024-03-05.dat.backup"), "mine");
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 5), "{\\rtf1 x}"));
    EXPECT_EQ(data.everyName(QStringLiteral("pages")), QStringLiteral(".2024-03-05.dat.aB3xY9 2024-03-05.dat 2024-03-05.dat.backup").split(u' '));
}

// A restore of a backup is killed at random moments: each kill leaves no
// diary at the target or the whole one, and a second restore then finishes
// and leaves no staging folder beside it.
TEST_F(KillTest, AKilledRestoreLeavesNoDiaryOrAWholeOneAndTheNextRestoreFinishes)
{
    // Enough pages that most kills land while they are written.
    ASSERT_NO_FATAL_FAILURE(fill(1500));
    const QString zip = scratch.filePath(QStringLiteral("backup.zip"));
    ASSERT_TRUE(backup::write(DataRoot(diary), zip, true));
    std::erase_if(original, [](const auto &file) { return file.first.startsWith(QStringLiteral(".drafts/")); });
    const QDir parent(scratch.filePath(QStringLiteral("restored")));
    const QString target = parent.filePath(QStringLiteral("diary"));
    const auto restoring = [&](Child &child) { return child.fork([&] { return bool(backup::restore(zip, target)); }); };
    const auto hiddenBeside = [&] { return parent.entryList({QStringLiteral(".*")}, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); };
    const auto restoredWholly = [&] {
        const microseconds took = Child::run(restoring);
        EXPECT_EQ(std::pair(filesUnder(target), hiddenBeside()), std::pair(original, QStringList()));
        EXPECT_TRUE(QDir(target).removeRecursively());
        return took;
    };
    const microseconds wholeRun = fastest(3, restoredWholly);
    ASSERT_GE(wholeRun.count(), 0);
    int leftStaging = 0;
    killRepeatedly(
        20, [&] { return wholeRun; }, restoring,
        [&](const Child &) {
            leftStaging += !hiddenBeside().isEmpty();
            ASSERT_TRUE(!QFileInfo::exists(target) || filesUnder(target) == original) << "a diary restored in part";
            ASSERT_TRUE(QDir(target).removeRecursively());
            ASSERT_GE(restoredWholly().count(), 0);
        });
    // Without one, no kill landed while the diary was being written.
    EXPECT_GT(leftStaging, 0);
}

// Encrypting, changing the password and decrypting killed at random moments:
// each time, the next start's finishing leaves the diary wholly plain or wholly
// encrypted, every file opening with the old pw.dat or every file with the new
// one, never some of each, and every file as it was made. Each round converts
// the diary from the form the last one left it in.
TEST_F(KillTest, AKilledConversionOrRenewalLeavesTheDiaryWhollyInOneForm)
{
    ASSERT_NO_FATAL_FAILURE(fill(40));
    Form form = Plain;
    ASSERT_EQ(problemWith(diary, original, form), "");
    const auto convertOnce = [&] {
        const Form from = form;
        const microseconds took = Child::run([&](Child &child) { return child.fork([&] { return convert(diary, from); }); });
        EXPECT_EQ(problemWith(diary, original, form), "");
        return form != from ? took : microseconds(-1);
    };
    // Round the three forms, so the kills spread over the longest step.
    const microseconds wholeRun = fastest(5, [&] {
        const microseconds steps[]{convertOnce(), convertOnce(), convertOnce()};
        return std::ranges::min(steps).count() < 0 ? microseconds(-1) : std::ranges::max(steps);
    });
    ASSERT_GE(wholeRun.count(), 0);
    // By the form a round started in: kills that left the diary unconverted,
    // and those whose conversion the next start finished.
    std::map<Form, int> leftAsItWas, finishedAtTheNextStart;
    Form from = form;
    killRepeatedly(
        1200, [&] { return wholeRun; },
        [&](Child &child) {
            from = form;
            return child.fork([&] { return convert(diary, from); });
        },
        [&](const Child &child) {
            const bool converted = child.exitCode == 0;
            conversion::finishInterrupted(diary);
            ASSERT_EQ(problemWith(diary, original, form), "") << "from form " << from;
            ASSERT_TRUE(!converted || form != from) << "the job finished, yet the diary kept its form";
            if (!converted)
                ++(form != from ? finishedAtTheNextStart : leftAsItWas)[from];
        });
    // Without both, the kills missed one side of the mark that makes a conversion count.
    for (const Form start : {Plain, Encrypted, Renewed})
        EXPECT_EQ(std::pair(finishedAtTheNextStart[start] > 0, leftAsItWas[start] > 0), std::pair(true, true)) << "from form " << start;
}

// A child typing steadily is killed at random moments: each time the draft
// it leaves is whole and holds all but the last moments of typing, and the
// stored page is exactly one the child saved. (The next start offering a
// draft back is the drafts' own test.)
TEST_F(KillTest, AHundredKilledSessionsLoseNothingTypedBeforeTheLastMoments)
{
    testApplication();
    TestDataRoot data;
    ASSERT_TRUE(passwordfile::write(data.root().passwordFile(), u"none"));
    int roundsWithADraft = 0;
    killRepeatedly(
        100, [] { return microseconds(milliseconds(1200)); },
        [&](Child &child) {
            QDir(data.path() + QStringLiteral("/.drafts")).removeRecursively();
            QFile::remove(data.root().pagePath(QStringLiteral("2026-12-04")));
            // This program typing, once it says it typed the first word.
            child.process.start(QStringLiteral("/proc/self/exe"), {QStringLiteral("--type"), data.path()});
            return child.process.waitForReadyRead(kWait);
        },
        [&](const Child &child) {
            // The words typed by the time the last of them should be in a draft.
            const auto drafted = std::chrono::duration_cast<microseconds>((child.killedAt - kDraftDelay - kSlack).time_since_epoch()).count();
            int typedByTheDraft = 0, lastSave = 0;
            for (const QByteArray &said : child.said.split('\n')) {
                const QList<QByteArray> line = said.split(' ');
                if (line[0] == "s")
                    lastSave = line.value(1).toInt();
                else if (line[0] == "t" && line.value(2).toLongLong() <= drafted)
                    typedByTheDraft = line.value(1).toInt();
            }
            const int inDraft = wordsIn(data.path() + u'/' + TestDataRoot::drafts() + QStringLiteral("/page@2026-12-04.dat"));
            const int saved = wordsIn(data.root().pagePath(QStringLiteral("2026-12-04")));
            ASSERT_GE(inDraft, 0) << "the draft is not whole";
            ASSERT_GE(saved, lastSave) << "the stored page is not the last one saved";
            EXPECT_GE(std::max(inDraft, saved), typedByTheDraft);
            roundsWithADraft += inDraft > 0;
        });
    EXPECT_GT(roundsWithADraft, 50);
}
