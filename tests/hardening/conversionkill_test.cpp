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

// The child's password.
const QString kPassword = QStringLiteral("correct horse battery");
constexpr int kKillsEachWay = 150;

enum Form { Plain, Encrypted };

const char *conversionFrom(Form from)
{
    return from == Plain ? "encrypt" : "decrypt";
}

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
        EXPECT_TRUE(pagestore::save(root, daykeys::dayKey(QDate(2025, 1, 1).addDays(page * 9)), rtf + "}"));
    }
    EXPECT_TRUE(pagestore::save(root, daykeys::dayKey(QDate(2025, 1, 1)), "{\\rtf1\\ansi The first page again.\\par}"));
    for (int note = 0; note < 10; ++note) {
        const QString text = QStringLiteral("Note %1.").arg(note);
        EXPECT_TRUE(notestore::save(root, daykeys::noteKey(QDate(2025, note + 1, note + 3)), text));
    }
    EXPECT_TRUE(notestore::save(root, daykeys::noteKey(QDate(2025, 1, 3)), QStringLiteral("The first note again.")));
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
        if (!key || password != keyslot::fileBytes(firstLine))
            return "pw.dat is a key slot that does not open with the password";
        vault = std::make_shared<Vault>(std::move(*key), *slot);
        form = Encrypted;
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

    bool start(const QString &rootPath, Form from)
    {
        process.start(QStringLiteral(CONVERSIONKILL_CHILD), {rootPath, QString::fromLatin1(conversionFrom(from))});
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

} // namespace

// A child encrypting or decrypting the diary is killed at random moments of
// its run: each time, the next start's finishing leaves the diary wholly plain
// or wholly encrypted, every file as it was made. Each round converts the
// diary from the form the last one left it in.
TEST(ConversionKillTest, AKilledConversionLeavesTheDiaryWhollyOneFormOrTheOther)
{
    testApplication();
    useCheapKeyDerivation();
    const QTemporaryDir folder(scratchFolder());
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.path();
    const Files original = makeDiary(DataRoot(path));
    ASSERT_FALSE(testing::Test::HasFailure());

    // A conversion left to finish, and how long it took as the child timed it.
    Form form = Plain;
    const auto convertWholly = [&](microseconds &took) {
        const Form from = form;
        Child child;
        ASSERT_TRUE(child.start(path, from));
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
    std::vector<microseconds> runs[2];
    for (int run = 0; run < 10; ++run) {
        const Form from = form;
        ASSERT_NO_FATAL_FAILURE(convertWholly(runs[from].emplace_back())) << "whole run " << run;
    }
    microseconds wholeRun[2];
    for (const Form from : {Plain, Encrypted})
        wholeRun[from] = *std::min_element(runs[from].begin(), runs[from].end());

    // By the form a round started in: kills, and how the diary came out.
    struct Tally
    {
        int kills = 0, convertedBeforeTheKill = 0, finishedAtTheNextStart = 0, leftAsItWas = 0;
    } tally[2];
    std::mt19937 random(1907);
    while (tally[Plain].kills < kKillsEachWay || tally[Encrypted].kills < kKillsEachWay) {
        const Form from = form;
        Tally &counts = tally[from];
        // Done killing this way: on to the other form, where kills are still wanted.
        if (counts.kills == kKillsEachWay) {
            microseconds took;
            ASSERT_NO_FATAL_FAILURE(convertWholly(took));
            continue;
        }
        // Every tenth kill lands as the conversion begins; the others anywhere in
        // its run, or as it ends when the machine slowed it down.
        std::uniform_int_distribution<long> moment(0, wholeRun[from].count() * 5 / 4);
        const microseconds delay(counts.kills % 10 == 0 ? 0 : moment(random));
        const std::string kill = "kill " + std::to_string(++counts.kills) + " of " + conversionFrom(from) + "ing, after "
                                 + std::to_string(delay.count()) + " us";
        Child child;
        ASSERT_TRUE(child.start(path, from)) << kill;
        const bool converted = child.killAfter(delay);

        conversion::finishInterrupted(path);
        ASSERT_EQ(problemWith(path, original, form), "") << kill;
        ASSERT_TRUE(!converted || form != from) << kill << ": the child said it had converted the diary";
        ++(converted ? counts.convertedBeforeTheKill : form != from ? counts.finishedAtTheNextStart : counts.leftAsItWas);
    }
    for (const Form from : {Plain, Encrypted}) {
        const Tally &counts = tally[from];
        std::printf("%sing (a whole run %lld us): %d kills, %d converted before the kill, %d finished at the next start, "
                    "%d left as they were\n",
                    conversionFrom(from), static_cast<long long>(wholeRun[from].count()), counts.kills,
                    counts.convertedBeforeTheKill, counts.finishedAtTheNextStart, counts.leftAsItWas);
        // Without both, the kills missed one side of the mark that makes a conversion count.
        EXPECT_GT(counts.finishedAtTheNextStart, 0);
        EXPECT_GT(counts.leftAsItWas, 0);
    }
    std::printf("Ended plain %d times, encrypted %d times.\n",
                tally[Plain].leftAsItWas + tally[Encrypted].convertedBeforeTheKill + tally[Encrypted].finishedAtTheNextStart,
                tally[Encrypted].leftAsItWas + tally[Plain].convertedBeforeTheKill + tally[Plain].finishedAtTheNextStart);
}
