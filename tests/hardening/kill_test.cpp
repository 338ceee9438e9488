// Jobs on a diary killed at random moments. This program runs each job in a
// child of its own (started with --job), so that a kill can land anywhere.

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

#include <QDirIterator>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTimer>

#include <chrono>
#include <csignal>
#include <cstring>
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
// A conversion encrypts with the first, and a renewal takes the diary from either to the other.
const QString kPassword = QStringLiteral("correct horse battery"), kNewPassword = QStringLiteral("staple battery horse");
// Some kills land while a draft stands, some just after a save removed it.
constexpr int kWordsBetweenSaves = 150;
// The drafts' delay, and room for a loaded machine to schedule the typing child's timer and write.
constexpr milliseconds kDraftDelay(200), kSlack(500);

void say(const char *what, long long number)
{
    std::printf("%s %lld\n", what, number);
    std::fflush(stdout);
}

// Says "go" as the job begins and "done" with the microseconds it took, timed
// here so that the killer's own scheduling cannot shorten or stretch it.
int timed(const std::function<bool()> &job)
{
    say("go", 0);
    const Steady::time_point went = Steady::now();
    if (!job())
        return 1;
    say("done", std::chrono::duration_cast<microseconds>(Steady::now() - went).count());
    return 0;
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
    say("go", 0);
    return application.exec();
}

// The encrypted diary at path, when password opens it.
std::optional<DataRoot> opened(const QString &path, const QString &password)
{
    auto key = KeySlotFile(DataRoot(path).passwordFile()).open(keyslot::passwordBytes(password));
    return key ? std::optional(DataRoot(path, std::make_shared<Vault>(std::move(key->key), key->slot))) : std::nullopt;
}

// Encrypts or decrypts the diary with the first password, or renews it from
// whichever password opens it to the other under a new master key.
int convert(const QByteArray &job, const QString &path)
{
    useCheapKeyDerivation();
    const auto first = opened(path, kPassword);
    const auto root = first ? first : opened(path, kNewPassword);
    if (job == "decrypt")
        return root ? timed([&] { return bool(conversion::decrypt(*root, passwordfile::fileBytes(kPassword))); }) : 1;
    SecretBytes master = keyslot::newMasterKey();
    const auto slot = keyslot::make(master, keyslot::passwordBytes(first ? kNewPassword : kPassword), kdfPolicy().chooseForNewSlot());
    if (!slot || (job != "encrypt" && !root))
        return 1;
    const Vault vault(std::move(master), *slot);
    if (job == "encrypt")
        return timed([&] { return bool(conversion::encrypt(DataRoot(path), vault, keyslot::format(*slot))); });
    return timed([&] { return bool(conversion::rekey(*root, vault, keyslot::format(*slot))); });
}

// The job named after --job, on the diary folder that follows, with its
// last argument: the versions to save, or "-".
int job(int &argc, char **argv)
{
    const QByteArray name(argv[2]), last(argv[4]);
    const DataRoot root(QFile::decodeName(argv[3]));
    if (name == "type")
        return typeForever(argc, argv, root.path());
    if (name != "save")
        return convert(name, root.path());
    return timed([&] { return saveVersion(root, last[0]); });
}

// A child of this process saving both versions in turn until killed. The
// thousand rounds fork rather than start a program: a start costs more than
// the saves themselves.
pid_t savingForever(const DataRoot &root)
{
    const pid_t child = ::fork();
    if (child == 0) {
        while (saveVersion(root, 'b') && saveVersion(root, 'a')) {
        }
        ::_exit(1);
    }
    return child;
}

// A job of this program in a child, or the tool, killed part way through.
struct Child
{
    QProcess process;

    // The job starts once it says "go", the tool once it runs.
    bool start(const QStringList &job, const QString &tool = {})
    {
        process.start(tool.isEmpty() ? QStringLiteral("/proc/self/exe") : tool, tool.isEmpty() ? QStringList{QStringLiteral("--job")} + job : job);
        return tool.isEmpty() ? process.waitForReadyRead(kWait) : process.waitForStarted(kWait);
    }
    // What it said before the kill; a job that ended by itself must have succeeded.
    QByteArray killAfter(microseconds delay)
    {
        std::this_thread::sleep_for(delay);
        process.kill();
        EXPECT_TRUE(process.waitForFinished(kWait));
        EXPECT_FALSE(process.exitStatus() == QProcess::NormalExit && process.exitCode() != 0) << "the job failed";
        return process.readAll();
    }
    // A job left to finish: how long it took by its own clock (0 when it
    // does not say), or -1 us when it failed.
    static microseconds run(const QStringList &job, const QString &tool = {})
    {
        Child child;
        if (!child.start(job, tool) || !child.process.waitForFinished(kWait) || child.process.exitStatus() != QProcess::NormalExit
            || child.process.exitCode() != 0)
            return microseconds(-1);
        const QByteArray said = child.process.readAll();
        return microseconds(said.contains("done ") ? said.mid(said.indexOf("done ") + 5).trimmed().toLongLong() : 0);
    }
};

// Every file under a folder, hidden ones too, by its path below it.
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

// Kills land between the same steps in memory as on a disk, and a disk shared
// with builds makes a run ten times as long and its length unforeseeable.
QString inMemory()
{
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    return (memory.isDir() && memory.isWritable() ? memory.filePath() : QDir::tempPath()) + QStringLiteral("/kill-XXXXXX");
}

// The names in a folder beyond the one expected: at most the temporary file
// of one killed save, which the next process to save there removes.
bool atMostOneLeftover(QStringList names, const QString &expected)
{
    if (names.removeAll(expected) != 1)
        return false;
    return names.isEmpty() || (names.size() == 1 && names[0].startsWith(QLatin1Char('.') + expected + QStringLiteral(".quillnest-saving-")));
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 5 && std::strcmp(argv[1], "--job") == 0)
        return job(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// A save killed at any moment leaves each file wholly old or wholly new, and
// temporary files never pile up: at most the last killed save's, until the
// next process saves there, which removes only those.
TEST(KillTest, AThousandKilledSavesLeaveEveryFileWholeAndTheNextSaveRemovesOnlyTheirLeftovers)
{
    TestDataRoot data;
    const auto save = [&](const char *versions) { return QStringList{QStringLiteral("save"), data.path(), QString::fromLatin1(versions)}; };
    const auto stored = [&] {
        return QList<QByteArray>{data.readFile(QStringLiteral("pages/2024-03-05.dat")), data.readFile(QStringLiteral("dates/Mar-5.dat")),
                                 data.readFile(QStringLiteral("pw.dat"))};
    };
    const microseconds savingB = Child::run(save("b"));
    const QList<QByteArray> storedB = stored();
    const microseconds savingA = Child::run(save("a"));
    const QList<QByteArray> storedA = stored();
    ASSERT_TRUE(savingA.count() >= 0 && savingB.count() >= 0);
    // Kills must land after whole saves too, however slowly this build saves.
    std::uniform_int_distribution<long long> moment(0, std::max<long long>(3000, 2 * (savingA + savingB).count()));
    std::mt19937 random(9);
    QSet<QByteArray> pagesSeen;
    for (int round = 0; round < 1000; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const pid_t child = savingForever(data.root());
        ASSERT_GT(child, 0);
        std::this_thread::sleep_for(microseconds(moment(random)));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped saving by itself";
        const QList<QByteArray> now = stored();
        for (int file = 0; file < 3; ++file)
            ASSERT_TRUE(now[file] == storedA[file] || now[file] == storedB[file]) << file;
        ASSERT_TRUE(atMostOneLeftover(data.everyName(QStringLiteral("pages")), QStringLiteral("2024-03-05.dat")));
        ASSERT_TRUE(atMostOneLeftover(data.everyName(QStringLiteral("dates")), QStringLiteral("Mar-5.dat")));
        QStringList top = data.everyName(QString());
        ASSERT_TRUE(top.removeAll(QStringLiteral("pages")) == 1 && top.removeAll(QStringLiteral("dates")) == 1);
        top.removeAll(QStringLiteral("history"));
        ASSERT_TRUE(atMostOneLeftover(top, QStringLiteral("pw.dat")));
        pagesSeen.insert(now[0]);
    }
    // Kills landed both before and after saves completed.
    EXPECT_EQ(pagesSeen.size(), 2);

    ASSERT_GE(Child::run(save("a")).count(), 0);
    EXPECT_EQ(stored(), storedA);
    EXPECT_EQ(data.everyName(QStringLiteral("pages")), QStringList{QStringLiteral("2024-03-05.dat")});
    EXPECT_EQ(data.everyName(QStringLiteral("dates")), QStringList{QStringLiteral("Mar-5.dat")});
    EXPECT_EQ(data.everyName(QString()), QStringLiteral("dates history pages pw.dat").split(u' '));
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

QString typedText(int words)
{
    QString text;
    for (int word = 1; word <= words; ++word)
        text += QStringLiteral("w%1 ").arg(word);
    return text;
}

// How many words a stored page is, or -1 when it is not what the child typed.
int wordsIn(const QString &file)
{
    const auto rtf = pagestore::loadFile(DataRoot(QString()), file);
    QTextDocument document;
    EXPECT_TRUE(!rtf || richtext::readRtf(*rtf, document));
    const QString text = richtext::plainText(document);
    const int words = int(text.count(QLatin1Char(' ')));
    return text == typedText(words) ? words : -1;
}

// A child typing steadily is killed at random moments: each time the draft
// found at the next start is whole and holds all but the last moments of
// typing, which the start offers back, and the stored page is exactly one the
// child saved.
TEST(KillTest, AHundredKilledSessionsLoseNothingTypedBeforeTheLastMoments)
{
    testApplication();
    TestDataRoot data;
    ASSERT_TRUE(passwordfile::write(data.root().passwordFile(), u"none"));
    std::mt19937 random(16);
    std::uniform_int_distribution<int> moment(100, 1500);
    int roundsWithADraft = 0;
    for (int round = 0; round < 100; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        QDir(data.path() + QStringLiteral("/.drafts")).removeRecursively();
        QFile::remove(data.root().pagePath(QStringLiteral("2026-12-04")));
        Child child;
        ASSERT_TRUE(child.start({QStringLiteral("type"), data.path(), QStringLiteral("-")}));
        // The words typed by the time the last of them should be in a draft.
        const Steady::time_point killed = Steady::now() + milliseconds(moment(random)), drafted = killed - kDraftDelay - kSlack;
        int typed = 0, typedByTheDraft = 0, lastSave = 0;
        const auto read = [&] {
            for (QList<QByteArray> line; child.process.canReadLine();) {
                line = child.process.readLine().trimmed().split(' ');
                (line[0] == "s" ? lastSave : typed) = line.value(1).toInt();
            }
            typedByTheDraft = Steady::now() <= drafted ? typed : typedByTheDraft;
        };
        for (; Steady::now() < killed; read())
            child.process.waitForReadyRead(5);
        child.process.kill();
        ASSERT_TRUE(child.process.waitForFinished(kWait));
        read();

        const int inDraft = wordsIn(data.path() + QStringLiteral("/.drafts/page@2026-12-04.dat"));
        const int saved = wordsIn(data.root().pagePath(QStringLiteral("2026-12-04")));
        ASSERT_GE(inDraft, 0) << "the draft is not whole";
        ASSERT_GE(saved, lastSave) << "the stored page is not the last one saved";
        EXPECT_GE(std::max(inDraft, saved), typedByTheDraft);
        if (inDraft == 0)
            continue;
        ++roundsWithADraft;
        // The start after the kill: the lock is taken over and the draft offered back.
        ScriptedDialogs dialogs;
        FixedClock clock{QDate(2026, 12, 4)};
        RecordingProgram program;
        DiarySession session(dialogs, clock);
        dialogs.answerMessage(Dialogs::Button::Ok);
        dialogs.answerMessage(Dialogs::Button::Yes);
        session.setDataRoot(data.path());
        ASSERT_TRUE(session.signIn(program));
        EXPECT_EQ(richtext::plainText(session.book().page()), typedText(inDraft));
    }
    EXPECT_GT(roundsWithADraft, 50);
}

// The tool restoring a diary is killed at random moments: each kill leaves no
// diary at the target or the whole one, and a second restore then finishes
// and leaves no staging folder beside it.
TEST(KillTest, AKilledRestoreLeavesNoDiaryOrAWholeOneAndTheNextRestoreFinishes)
{
    const QTemporaryDir scratch(inMemory());
    ASSERT_TRUE(scratch.isValid());
    // Enough pages that the tool spends most of its run restoring them.
    const DataRoot root(scratch.filePath(QStringLiteral("diary")));
    QDir(root.path()).mkpath(QStringLiteral("pages"));
    QDir(root.path()).mkpath(QStringLiteral("dates"));
    for (int day = 0; day < 1500; ++day)
        ASSERT_TRUE(pagestore::save(root, QDate(2020, 1, 1).addDays(day), "{\\rtf1 " + QByteArray::number(day).repeated(day % 50 + 1) + "\\par}"));
    ASSERT_TRUE(pagestore::save(root, QDate(2020, 1, 1), "{\\rtf1 The first page again.\\par}"));
    ASSERT_TRUE(notestore::save(root, daykeys::MonthDay{12, 4}, u"Anna's birthday"));
    ASSERT_TRUE(passwordfile::write(root.passwordFile(), u"secret words"));
    ASSERT_TRUE(backup::write(root, scratch.filePath(QStringLiteral("backup.zip")), true));
    const Files original = filesUnder(root.path());
    const QDir parent(scratch.filePath(QStringLiteral("restored")));
    const QString target = parent.filePath(QStringLiteral("diary")), tool = QStringLiteral(QUILLNEST_TOOL);
    const QStringList restore = QStringLiteral("restore --from %1 --root %2").arg(scratch.filePath(QStringLiteral("backup.zip")), target).split(u' ');
    const auto hiddenBeside = [&] { return parent.entryList({QStringLiteral(".*")}, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); };
    const auto restoredWholly = [&] {
        ASSERT_GE(Child::run(restore, tool).count(), 0);
        ASSERT_EQ(filesUnder(target), original);
        ASSERT_EQ(hiddenBeside(), QStringList());
        ASSERT_TRUE(QDir(target).removeRecursively());
    };
    // The fastest of three whole runs, so the kills spread over one.
    qint64 wholeRun = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        timer.start();
        ASSERT_NO_FATAL_FAILURE(restoredWholly());
        wholeRun = std::min(wholeRun, timer.nsecsElapsed() / 1000);
    }
    int leftStaging = 0;
    std::mt19937 random(2026);
    std::uniform_int_distribution<qint64> moment(0, wholeRun * 5 / 4);
    for (int kill = 1; kill <= 20; ++kill) {
        const microseconds delay(moment(random));
        SCOPED_TRACE("kill " + std::to_string(kill) + " after " + std::to_string(delay.count()) + " us");
        Child killed;
        ASSERT_TRUE(killed.start(restore, tool));
        killed.killAfter(delay);
        leftStaging += !hiddenBeside().isEmpty();
        ASSERT_TRUE(!QFileInfo::exists(target) || filesUnder(target) == original) << "a diary restored in part";
        ASSERT_TRUE(QDir(target).removeRecursively());
        ASSERT_NO_FATAL_FAILURE(restoredWholly());
    }
    // Without one, no kill landed while the diary was being written.
    EXPECT_GT(leftStaging, 0);
}

namespace {

enum Form { Plain, Encrypted, Renewed };

// Empty when the folder is wholly one form, which form then is; else what is wrong.
std::string problemWith(const QString &rootPath, const Files &original, Form &form)
{
    if (QFileInfo::exists(rootPath + QStringLiteral("/.converting")) || QFileInfo::exists(rootPath + QStringLiteral("/.converting-old")))
        return "a folder of the conversion is left";
    const Files now = filesUnder(rootPath);
    if (!std::ranges::equal(now | std::views::keys, original | std::views::keys))
        return "the files are not the diary's";
    const QByteArray password = now.at(QStringLiteral("pw.dat"));
    const QByteArray firstLine = password.left(password.indexOf("\r\n"));
    std::shared_ptr<Vault> vault;
    if (keyslot::isKeySlot(firstLine)) {
        const auto slot = keyslot::parse(firstLine);
        auto key = slot ? keyslot::unwrap(*slot, keyslot::passwordBytes(kPassword)) : std::nullopt;
        form = key ? Encrypted : Renewed;
        if (!key && slot)
            key = keyslot::unwrap(*slot, keyslot::passwordBytes(kNewPassword));
        if (!key || password != keyslot::fileBytes(firstLine))
            return "pw.dat is a key slot that opens with neither password";
        vault = std::make_shared<Vault>(std::move(*key), *slot);
    } else if (password != passwordfile::fileBytes(kPassword)) {
        return "pw.dat is neither the scrambled password nor a key slot";
    } else {
        form = Plain;
    }
    const DataRoot root(rootPath, vault);
    for (const auto &[name, bytes] : original) {
        const QString storedAs = rootPath + QLatin1Char('/') + conversion::storedNameOf(name);
        if (name != QLatin1String("pw.dat") && storedbytes::read(root, rootPath + QLatin1Char('/') + name, bytes.size(), storedAs) != bytes)
            return name.toStdString() + " does not read back as it was, with pw.dat " + (vault ? "encrypted" : "plain");
    }
    return {};
}

// Forty pages of different lengths, ten notes, an earlier version of a page
// and of a note, a draft and a password, in memory where there is some.
class ConversionKillTest : public testing::Test
{
protected:
    void SetUp() override
    {
        testApplication();
        useCheapKeyDerivation();
        ASSERT_TRUE(folder.isValid());
        const DataRoot root(folder.path());
        QDir(root.path()).mkpath(QStringLiteral("pages"));
        QDir(root.path()).mkpath(QStringLiteral("dates"));
        for (int page = 0; page < 40; ++page) {
            QByteArray rtf = QByteArrayLiteral("{\\rtf1\\ansi ");
            for (int line = 0; line <= page; ++line)
                rtf += QStringLiteral("Page %1, line %2, of its own words.\\par\n").arg(page).arg(line).toLatin1();
            ASSERT_TRUE(pagestore::save(root, QDate(2025, 1, 1).addDays(page * 9), rtf + "}"));
        }
        ASSERT_TRUE(pagestore::save(root, QDate(2025, 1, 1), "{\\rtf1\\ansi The first page again.\\par}"));
        for (int note = 0; note < 10; ++note)
            ASSERT_TRUE(notestore::save(root, daykeys::monthDay(QDate(2025, note + 1, note + 3)), QStringLiteral("Note %1.").arg(note)));
        ASSERT_TRUE(notestore::save(root, daykeys::monthDay(QDate(2025, 1, 3)), QStringLiteral("The first note again.")));
        QDir(root.path()).mkpath(QStringLiteral(".drafts"));
        ASSERT_TRUE(writeFileAtomically(root.path() + QStringLiteral("/.drafts/page@2025-01-10.dat"),
                                        *pagestore::encodePage("{\\rtf1\\ansi A draft.\\par}")));
        ASSERT_TRUE(passwordfile::write(root.passwordFile(), kPassword));
        original = filesUnder(root.path());
        ASSERT_EQ(original.size(), 40u + 10u + 2u + 1u + 1u);
    }

    // Kills a child converting the diary at random moments of its run: each
    // time, the next start's finishing leaves the diary wholly in one form,
    // every file as it was made. Each round converts the diary from the form
    // the last one left it in.
    void killConverting(const std::map<Form, QString> &jobs, int kills)
    {
        Form form = Plain;
        ASSERT_EQ(problemWith(folder.path(), original, form), "");
        // Whole runs each way, so the kills spread over one. A loaded machine
        // only ever slows a run, so the fastest is the run as the child makes it.
        std::map<Form, microseconds> wholeRun;
        for (int run = 0; run < 10; ++run) {
            const Form from = form;
            const microseconds took = Child::run({jobs.at(from), folder.path(), QStringLiteral("-")});
            ASSERT_GE(took.count(), 0);
            ASSERT_EQ(problemWith(folder.path(), original, form), "");
            ASSERT_NE(form, from);
            wholeRun[from] = wholeRun.contains(from) ? std::min(wholeRun[from], took) : took;
        }
        // By the form a round started in: how the diary came out.
        struct Tally
        {
            int convertedBeforeTheKill = 0, finishedAtTheNextStart = 0, leftAsItWas = 0;
        };
        std::map<Form, Tally> tally;
        std::mt19937 random(1907);
        for (int kill = 0; kill < kills; ++kill) {
            const Form from = form;
            // Every tenth kill lands as the conversion begins; the others anywhere
            // in its run, or as it ends when the machine slowed it down.
            std::uniform_int_distribution<long> moment(0, wholeRun[from].count() * 5 / 4);
            const microseconds delay(kill % 10 == 0 ? 0 : moment(random));
            SCOPED_TRACE("kill " + std::to_string(kill) + ", " + jobs.at(from).toStdString() + " from form " + std::to_string(from) + " after "
                         + std::to_string(delay.count()) + " us");
            Child child;
            ASSERT_TRUE(child.start({jobs.at(from), folder.path(), QStringLiteral("-")}));
            const bool converted = child.killAfter(delay).contains("done");
            conversion::finishInterrupted(folder.path());
            ASSERT_EQ(problemWith(folder.path(), original, form), "");
            ASSERT_TRUE(!converted || form != from) << "the child said it had converted the diary";
            Tally &counts = tally[from];
            ++(converted ? counts.convertedBeforeTheKill : form != from ? counts.finishedAtTheNextStart : counts.leftAsItWas);
        }
        // Without both, the kills missed one side of the mark that makes a conversion count.
        for (const auto &[from, job] : jobs) {
            EXPECT_GT(tally[from].finishedAtTheNextStart, 0) << "from form " << from;
            EXPECT_GT(tally[from].leftAsItWas, 0) << "from form " << from;
        }
    }

    const QTemporaryDir folder{inMemory()};
    Files original;
};

} // namespace

// Encrypting and decrypting killed: the diary is wholly plain or wholly encrypted.
TEST_F(ConversionKillTest, AKilledConversionLeavesTheDiaryWhollyOneFormOrTheOther)
{
    killConverting({{Plain, QStringLiteral("encrypt")}, {Encrypted, QStringLiteral("decrypt")}}, 300);
}

// Changing an encrypted diary's password killed: every file opens with the
// old pw.dat, or every file with the new one, never some of each.
TEST_F(ConversionKillTest, AKilledRenewalLeavesTheDiaryWhollyUnderTheOldKeyOrTheNew)
{
    ASSERT_GE(Child::run({QStringLiteral("encrypt"), folder.path(), QStringLiteral("-")}).count(), 0);
    killConverting({{Encrypted, QStringLiteral("rekey")}, {Renewed, QStringLiteral("rekey")}}, 120);
}
