#include "twocomputers.h"

#include "app/presencekeeper.h"
#include "diary/conversion.h"
#include "diary/keyslotfile.h"
#include "diary/passwordfile.h"
#include "session/daybook.h"
#include "session/diarysession.h"
#include "sync/presence.h"
#include "vault/vault.h"

#include "fixedclock.h"
#include "recordingprogram.h"
#include "scripteddialogs.h"
#include "seams/messages.h"

#include <QDirIterator>
#include <QProcess>
#include <QTextCursor>

namespace {

using enum SyncthingPair::Computer;

const QDate kDay(2026, 12, 4);
const QStringList kBase{QStringLiteral("Title"), QStringLiteral("base1 base2"), QStringLiteral("base3 base4"),
                        QStringLiteral("base5 base6")};
const QString kPassword = QStringLiteral("correct horse");

enum class Ends { Merged, Asks, NoCopy };

// The same day changed on both computers while the laptop is off, then how the program ends it.
struct Scenario
{
    bool note = false;
    Edit desktop, laptop;
    Ends ends = Ends::Merged;
    bool byTool = false; // quillnest-tool conflicts --merge on the laptop, else the program on the desktop
    bool sealed = false;
};

class Scenarios : public TwoComputers
{
protected:
    void play(const Scenario &scenario);
    void encryptOnDesktop();
    void mergeWithTool(bool sealed) const;
};

void Scenarios::play(const Scenario &scenario)
{
    const DiaryText text{kDay, scenario.note};
    ASSERT_TRUE(text.save(roots[Desktop], kBase).ok());
    if (scenario.sealed) {
        ASSERT_NO_FATAL_FAILURE(encryptOnDesktop());
    }
    ASSERT_TRUE(pair.sync());
    ASSERT_TRUE(pair.stop(Laptop));
    const QSet<QString> typed = desktopUser.type(scenario.desktop, text, roots[Desktop]) +
                                laptopUser.type(scenario.laptop, text, roots[Laptop]);
    ASSERT_TRUE(pair.start(Laptop));
    ASSERT_TRUE(pair.sync());
    for (const DataRoot &root : roots)
        EXPECT_EQ(conflictCopies(root.path()).size(), scenario.ends == Ends::NoCopy ? 0 : 1);

    if (scenario.byTool) {
        ASSERT_NO_FATAL_FAILURE(mergeWithTool(scenario.sealed));
    } else if (scenario.ends != Ends::NoCopy) {
        EXPECT_EQ(mergeCopies(roots[Desktop]), scenario.ends == Ends::Merged ? 1 : 0);
    }
    ASSERT_TRUE(pair.sync());
    if (scenario.ends == Ends::Asks) {
        for (const DataRoot &root : roots)
            EXPECT_EQ(conflictcopies::find(root).size(), 1) << "a copy the program asks about stays listed";
        EXPECT_EQ(settleCopies(roots[Laptop], copymerge::Keep::Both), 1);
        ASSERT_TRUE(pair.sync());
    }
    expectOneText(text, typed);
    expectKept(text, typed + wordsOf(kBase.join(u' ')));
}

// The desktop's diary is encrypted before the laptop first has it; the laptop opens it with the password
// that arrives with it in pw.dat.
void Scenarios::encryptOnDesktop()
{
    SecretBytes master = keyslot::newMasterKey();
    const auto slot = keyslot::make(master, keyslot::passwordBytes(kPassword), kdfPolicy().floor);
    ASSERT_TRUE(slot);
    auto vault = std::make_shared<Vault>(std::move(master), *slot);
    ASSERT_TRUE(conversion::encrypt(roots[Desktop], *vault, keyslot::format(*slot)).ok());
    roots[Desktop] = DataRoot(roots[Desktop].path(), vault);
    ASSERT_TRUE(pair.sync());
    auto opened = KeySlotFile(roots[Laptop].passwordFile()).open(keyslot::passwordBytes(kPassword));
    ASSERT_TRUE(opened);
    roots[Laptop] = DataRoot(roots[Laptop].path(), std::make_shared<Vault>(std::move(opened->key), opened->slot));
}

void Scenarios::mergeWithTool(bool sealed) const
{
    QProcess tool;
    QStringList arguments{QStringLiteral("conflicts"), QStringLiteral("--root"), pair.folder(Laptop), QStringLiteral("--merge")};
    if (sealed)
        arguments << QStringLiteral("--password-fd") << QStringLiteral("0");
    tool.start(QStringLiteral(QUILLNEST_TOOL), arguments);
    tool.write(sealed ? (kPassword + u'\n').toUtf8() : QByteArray());
    tool.closeWriteChannel();
    ASSERT_TRUE(tool.waitForFinished(60000));
    const QString out = QString::fromLocal8Bit(tool.readAllStandardOutput());
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral(": merged into ")) && out.endsWith(QStringLiteral("0 conflict copies\n"))) << out.toStdString();
}

} // namespace

TEST_F(Scenarios, BothComputersAddAParagraphAndTheCopyIsMergedWithBoth)
{
    play({.desktop = {Edit::Append}, .laptop = {Edit::Append}});
}

TEST_F(Scenarios, DifferentParagraphsChangedOverAVersionTheHistoryKeepsAreMergedByTheTool)
{
    play({.desktop = {Edit::Extend, 1}, .laptop = {Edit::Extend, 3}, .byTool = true});
}

TEST_F(Scenarios, TheSameParagraphChangedOnBothIsAskedAboutAndKeepingBothKeepsEveryWord)
{
    play({.desktop = {Edit::Extend, 2}, .laptop = {Edit::Extend, 2}, .ends = Ends::Asks});
}

TEST_F(Scenarios, APageDeletedOnOneComputerAndChangedOnTheOtherKeepsTheChange)
{
    play({.desktop = {Edit::Remove}, .laptop = {Edit::Extend, 1}, .ends = Ends::NoCopy});
}

TEST_F(Scenarios, AYearlyNoteChangedOnBothIsMergedLineByLine)
{
    play({.note = true, .desktop = {Edit::Extend, 1}, .laptop = {Edit::Append}, .byTool = true});
}

TEST_F(Scenarios, AnEncryptedDiaryIsMergedAndNothingOfItIsEverWrittenUnsealed)
{
    play({.desktop = {Edit::Append}, .laptop = {Edit::Extend, 1}, .byTool = true, .sealed = true});
    // The key slot, Syncthing's rules and the tool's lock hold no diary text; the lock stays on its computer.
    const QStringList unsealed{QStringLiteral("pw.dat"), QStringLiteral(".stignore"), QStringLiteral(".quillnest-lock")};
    EXPECT_FALSE(QFile::exists(roots[Desktop].path() + QStringLiteral("/.quillnest-lock")));
    for (const DataRoot &root : roots) {
        QDirIterator it(root.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            EXPECT_TRUE(unsealed.contains(it.fileName()) || (file.open(QIODevice::ReadOnly) && file.read(4) == sealing::kHeader))
                << it.filePath().toStdString();
        }
    }
}

TEST_F(TwoComputers, AStartOnTheSecondComputerSaysTheDiaryIsOpenOnTheFirst)
{
    const QString desktop = QStringLiteral("desktop-1a2b3c4d");
    const QDateTime since = QDateTime::currentDateTimeUtc();
    ASSERT_TRUE(presence::announce(pair.folder(Desktop), since, desktop));
    ASSERT_TRUE(pair.sync());
    ScriptedDialogs dialogs;
    dialogs.answerMessage(Dialogs::Button::Ok);
    {
        PresenceKeeper keeper(pair.folder(Laptop), nullptr);
        EXPECT_TRUE(keeper.admit(dialogs));
        ASSERT_TRUE(pair.sync());
        EXPECT_TRUE(QFile::exists(pair.folder(Desktop) + QStringLiteral("/.quillnest/open/") + presence::thisComputer()))
            << "the laptop's window is known on the desktop";
    }
    EXPECT_EQ(dialogs.shown(), QList({ScriptedDialogs::shownBox(messages::openElsewhere(
                                   QSysInfo::machineHostName(), QLocale().toString(since.toLocalTime(), QLocale::ShortFormat)))}));
    presence::withdraw(pair.folder(Desktop), desktop);
    ASSERT_TRUE(pair.sync());
    for (const DataRoot &root : roots)
        EXPECT_EQ(QDir(root.path() + QStringLiteral("/.quillnest/open")).entryList(QDir::Files | QDir::Hidden), QStringList());
}

// The desktop's window has the page open while the laptop's version arrives under the page's own name, so
// Syncthing makes no copy: the window's save is what must not overwrite it.
TEST_F(TwoComputers, AWindowSavingOverAPageThatChangedUnderItMergesTheTwo)
{
    const DiaryText text{kDay};
    ASSERT_TRUE(text.save(roots[Desktop], kBase).ok() && passwordfile::write(roots[Desktop].passwordFile(), u"none"));
    ASSERT_TRUE(pair.sync());
    ScriptedDialogs dialogs;
    FixedClock clock{kDay};
    RecordingProgram program;
    DiarySession window(dialogs, clock);
    window.setDataRoot(pair.folder(Desktop));
    dialogs.answerMessage(Dialogs::Button::Ok);
    ASSERT_TRUE(window.signIn(program));
    QTextCursor typing(&window.book().page());
    typing.movePosition(QTextCursor::End);
    typing.insertText(QStringLiteral(" windowword"));
    window.book().markChanged();

    const QSet<QString> typed = laptopUser.type({Edit::Extend, 1}, text, roots[Laptop]) + QSet{QStringLiteral("windowword")};
    ASSERT_TRUE(pair.sync());
    dialogs.answerMessage(Dialogs::Button::Yes);
    dialogs.answerMessage(Dialogs::Button::Ok);
    window.book().SavePage();
    EXPECT_EQ(dialogs.texts().last(), messages::pageMergedOnSave().text);
    ASSERT_TRUE(pair.sync());
    expectOneText(text, typed);
    expectKept(text, typed + wordsOf(kBase.join(u' ')));
}
