#include "cheapkdf.h"
#include "diary/conversion.h"
#include "diary/daykeys.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "diary/passwordfile.h"
#include "diary/safewrite.h"
#include "diary/storedbytes.h"
#include "testapplication.h"
#include "vault/keyslot.h"
#include "vault/vault.h"

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Steady = std::chrono::steady_clock;
using std::chrono::microseconds;

// The child's passwords: it encrypts with the first, and a renewal takes the
// diary from either to the other.
const QString kPassword = QStringLiteral("correct horse battery");
const QString kNewPassword = QStringLiteral("staple battery horse");

enum Form { Plain, Encrypted, Renewed };
constexpr int kForms = 3;
const char *const kFormNames[kForms] = {"plain", "encrypted", "renewed"};

// The child's command that takes the diary out of each form a run goes through.
using Commands = std::map<Form, QString>;

// Every file of the diary as first made, by its name below the root, with the
// bytes a plain diary stores in it.
using Files = std::map<QString, QByteArray>;

QStringList everyFile(const QString &rootPath)
{
    QStringList names;
    QDirIterator it(rootPath, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        names.append(QDir(rootPath).relativeFilePath(it.next()));
    names.sort();
    return names;
}

// Kills land between the same steps in memory as on a disk, and a disk shared
// with builds makes a run ten times as long and its length unforeseeable.
QString scratchFolder()
{
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    const QString parent = memory.isDir() && memory.isWritable() ? memory.filePath() : QDir::tempPath();
    return parent + QStringLiteral("/conversionkill-XXXXXX");
}

QByteArray contentsOf(const QString &file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

// Forty pages of different lengths, ten notes, an earlier version of a page
// and of a note, a draft, and a password.
Files makeDiary(const DataRoot &root)
{
    QDir(root.path()).mkpath(QStringLiteral("pages"));
    QDir(root.path()).mkpath(QStringLiteral("dates"));
    for (int page = 0; page < 40; ++page) {
        QByteArray rtf = QByteArrayLiteral("{\\rtf1\\ansi ");
        for (int line = 0; line <= page; ++line)
            rtf += QStringLiteral("Page %1, line %2, of its own words.\\par\n").arg(page).arg(line).toLatin1();
        EXPECT_TRUE(pagestore::save(root, QDate(2025, 1, 1).addDays(page * 9), rtf + "}"));
    }
    EXPECT_TRUE(pagestore::save(root, QDate(2025, 1, 1), "{\\rtf1\\ansi The first page again.\\par}"));
    for (int note = 0; note < 10; ++note) {
        const QString text = QStringLiteral("Note %1.").arg(note);
        EXPECT_TRUE(notestore::save(root, daykeys::monthDay(QDate(2025, note + 1, note + 3)), text));
    }
    EXPECT_TRUE(notestore::save(root, daykeys::monthDay(QDate(2025, 1, 3)), QStringLiteral("The first note again.")));
    QDir(root.path()).mkpath(QStringLiteral(".drafts"));
    EXPECT_TRUE(writeFileAtomically(root.path() + QStringLiteral("/.drafts/page@2025-01-10.dat"),
                                    *pagestore::encodePage("{\\rtf1\\ansi A draft.\\par}")));
    EXPECT_TRUE(passwordfile::write(root.passwordFile(), kPassword));

    Files files;
    for (const QString &name : everyFile(root.path()))
        files[name] = contentsOf(root.path() + QLatin1Char('/') + name);
    EXPECT_EQ(files.size(), 40u + 10u + 2u + 1u + 1u);
    return files;
}

// Empty when the folder is wholly one form, which form then is; else what is wrong.
std::string problemWith(const QString &rootPath, const Files &original, Form &form)
{
    for (const QString &left : {QStringLiteral("/.converting"), QStringLiteral("/.converting-old")}) {
        if (QFileInfo::exists(rootPath + left))
            return "the folder " + left.toStdString() + " is left";
    }
    QStringList originalNames;
    for (const auto &entry : original)
        originalNames.append(entry.first);
    if (everyFile(rootPath) != originalNames)
        return "the files are not the diary's: " + everyFile(rootPath).join(u' ').toStdString();

    const QByteArray password = contentsOf(rootPath + QStringLiteral("/pw.dat"));
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
    } else {
        if (password != passwordfile::fileBytes(kPassword))
            return "pw.dat is neither the scrambled password nor a key slot";
        form = Plain;
    }

    const DataRoot root(rootPath, vault);
    for (const auto &[name, bytes] : original) {
        if (name == QLatin1String("pw.dat"))
            continue;
        const QString storedAs = rootPath + QLatin1Char('/') + conversion::storedNameOf(name);
        if (storedbytes::read(root, rootPath + QLatin1Char('/') + name, bytes.size(), storedAs) != bytes)
            return name.toStdString() + " does not read back as it was, with pw.dat " + (vault ? "encrypted" : "plain");
    }
    return {};
}

// The child converting the diary to the other form, once it has said "go".
struct Child
{
    QProcess process;

    bool start(const QString &rootPath, const QString &command)
    {
        process.start(QStringLiteral(CONVERSIONKILL_CHILD), {rootPath, command});
        return process.waitForReadyRead(20000);
    }
    // True when the child had converted the diary before the kill.
    bool killAfter(microseconds delay)
    {
        std::this_thread::sleep_for(delay);
        process.kill();
        EXPECT_TRUE(process.waitForFinished(20000));
        EXPECT_FALSE(process.exitStatus() == QProcess::NormalExit && process.exitCode() != 0) << "the conversion failed";
        return process.readAll().contains("done");
    }
};

// Kills a child converting the diary at random moments of its run, killsEachWay
// times out of each form in commands: each time, the next start's finishing
// leaves the diary wholly in one form, every file as it was made. Each round
// converts the diary from the form the last one left it in.
void killConverting(const QString &path, const Files &original, const Commands &commands, int killsEachWay)
{
    Form form = Plain;
    ASSERT_EQ(problemWith(path, original, form), "");
    // A conversion left to finish, and how long it took as the child timed it.
    const auto convertWholly = [&](microseconds &took) {
        const Form from = form;
        Child child;
        ASSERT_TRUE(child.start(path, commands.at(from)));
        ASSERT_TRUE(child.process.waitForFinished(20000));
        ASSERT_EQ(child.process.exitCode(), 0);
        const QByteArray said = child.process.readAll();
        const qsizetype done = said.indexOf("done ");
        ASSERT_GE(done, 0);
        took = microseconds(said.mid(done + 5).trimmed().toLongLong());
        ASSERT_EQ(problemWith(path, original, form), "");
        ASSERT_NE(form, from);
    };
    // Whole runs each way, so the kills spread over one. A loaded machine only
    // ever slows a run, so the fastest of five is the run as the child makes it.
    std::vector<microseconds> runs[kForms];
    for (int run = 0; run < 10; ++run) {
        const Form from = form;
        ASSERT_NO_FATAL_FAILURE(convertWholly(runs[from].emplace_back())) << "whole run " << run;
    }
    microseconds wholeRun[kForms];
    for (const auto &[from, command] : commands)
        wholeRun[from] = *std::min_element(runs[from].begin(), runs[from].end());

    // By the form a round started in: kills, and how the diary came out.
    struct Tally
    {
        int kills = 0, convertedBeforeTheKill = 0, finishedAtTheNextStart = 0, leftAsItWas = 0;
    } tally[kForms];
    const auto killsWanted = [&] {
        return std::ranges::any_of(commands, [&](const auto &entry) { return tally[entry.first].kills < killsEachWay; });
    };
    std::mt19937 random(1907);
    while (killsWanted()) {
        const Form from = form;
        Tally &counts = tally[from];
        // Done killing this way: on to the other form, where kills are still wanted.
        if (counts.kills == killsEachWay) {
            microseconds took;
            ASSERT_NO_FATAL_FAILURE(convertWholly(took));
            continue;
        }
        // Every tenth kill lands as the conversion begins; the others anywhere in
        // its run, or as it ends when the machine slowed it down.
        std::uniform_int_distribution<long> moment(0, wholeRun[from].count() * 5 / 4);
        const microseconds delay(counts.kills % 10 == 0 ? 0 : moment(random));
        const std::string kill = "kill " + std::to_string(++counts.kills) + " of " + commands.at(from).toStdString()
                                 + " from " + kFormNames[from] + ", after " + std::to_string(delay.count()) + " us";
        Child child;
        ASSERT_TRUE(child.start(path, commands.at(from))) << kill;
        const bool converted = child.killAfter(delay);

        conversion::finishInterrupted(path);
        ASSERT_EQ(problemWith(path, original, form), "") << kill;
        ASSERT_TRUE(!converted || form != from) << kill << ": the child said it had converted the diary";
        ++(converted ? counts.convertedBeforeTheKill : form != from ? counts.finishedAtTheNextStart : counts.leftAsItWas);
    }
    for (const auto &[from, command] : commands) {
        const Tally &counts = tally[from];
        std::printf("%s from %s (a whole run %lld us): %d kills, %d converted before the kill, %d finished at the next "
                    "start, %d left as they were\n",
                    qPrintable(command), kFormNames[from], static_cast<long long>(wholeRun[from].count()), counts.kills,
                    counts.convertedBeforeTheKill, counts.finishedAtTheNextStart, counts.leftAsItWas);
        // Without both, the kills missed one side of the mark that makes a conversion count.
        EXPECT_GT(counts.finishedAtTheNextStart, 0);
        EXPECT_GT(counts.leftAsItWas, 0);
    }
}

// A diary made for a run of kills, in memory where there is some.
class ConversionKillTest : public testing::Test
{
protected:
    void SetUp() override
    {
        testApplication();
        useCheapKeyDerivation();
        ASSERT_TRUE(folder.isValid());
        original = makeDiary(DataRoot(folder.path()));
        ASSERT_FALSE(HasFailure());
    }

    const QTemporaryDir folder{scratchFolder()};
    Files original;
};

} // namespace

// Encrypting and decrypting killed: the diary is wholly plain or wholly encrypted.
TEST_F(ConversionKillTest, AKilledConversionLeavesTheDiaryWhollyOneFormOrTheOther)
{
    killConverting(folder.path(), original, {{Plain, QStringLiteral("encrypt")}, {Encrypted, QStringLiteral("decrypt")}}, 150);
}

// Changing an encrypted diary's password killed: every file opens with the
// old pw.dat, or every file with the new one, never some of each.
TEST_F(ConversionKillTest, AKilledRenewalLeavesTheDiaryWhollyUnderTheOldKeyOrTheNew)
{
    Child encrypting;
    ASSERT_TRUE(encrypting.start(folder.path(), QStringLiteral("encrypt")));
    ASSERT_TRUE(encrypting.process.waitForFinished(20000));
    ASSERT_EQ(encrypting.process.exitCode(), 0);
    killConverting(folder.path(), original, {{Encrypted, QStringLiteral("rekey")}, {Renewed, QStringLiteral("rekey")}}, 60);
}
