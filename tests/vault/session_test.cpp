#include "vaulttest.h"

#include "diary/conversion.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "diary/passwordfile.h"
#include "diary/scramble.h"
#include "diarytexts.h"
#include "fixedclock.h"
#include "qtprinters.h"
#include "recordingprogram.h"
#include "richtext/pageexport.h"
#include "scripteddialogs.h"
#include "session/daybook.h"
#include "session/diarysearch.h"
#include "session/diarysession.h"
#include "session/sessiondrafts.h"
#include "session/vaultcontrols.h"
#include "session/yearnotes.h"
#include "testdataroot.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QLocale>
#include <QTextCursor>

#include <gtest/gtest.h>

namespace {

using namespace vaulttest;
using diarytexts::page;
using Button = Dialogs::Button;

const QString kPlainPassword = QStringLiteral("garden-path-9");
const QString kPassword = QStringLiteral("winter journal 7");
const QString kNewPassword = QStringLiteral("spring journal 8");
const QByteArray kToday = page("Today we went skating at Zermatt");

// A plain diary with a password, signed in on 4 December 2026 without a window.
class EncryptionSession : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        ASSERT_TRUE(pagestore::save(data.root(), QDate(2026, 12, 1), page("First of December")));
        ASSERT_TRUE(pagestore::save(data.root(), QDate(2026, 12, 4), kToday));
        ASSERT_TRUE(notestore::save(data.root(), daykeys::MonthDay{12, 4}, u"Skates sharpened"));
        ASSERT_TRUE(passwordfile::write(data.root().passwordFile(), kPlainPassword));
        signIn(kPlainPassword);
    }

    void signIn(const QString &password)
    {
        session.reset();
        session = std::make_unique<DiarySession>(dialogs, clock);
        session->setDataRoot(data.path());
        dialogs.answerInput(password);
        ASSERT_TRUE(session->signIn(program));
    }
    void encrypt()
    {
        dialogs.answerMessage(Button::Yes);
        dialogs.answerInput(kPassword);
        dialogs.answerInput(kPassword);
        dialogs.answerMessage(Button::Ok);
        session->vault().encryptDiary();
        ASSERT_TRUE(session->vault().isEncrypted());
    }
    QStringList titlesSince(qsizetype first) const
    {
        QStringList titles;
        for (qsizetype i = first; i < dialogs.shown().size(); ++i)
            titles.append(dialogs.shown()[i].title);
        return titles;
    }
    QString pageText() const { return richtext::plainText(session->book().page()); }
    Snapshot now() const { return snapshot(data.path()); }

    TestDataRoot data;
    ScriptedDialogs dialogs;
    FixedClock clock{QDate(2026, 12, 4)};
    RecordingProgram program;
    std::unique_ptr<DiarySession> session;
};

} // namespace

TEST_F(EncryptionSession, EncryptDiaryConvertsTheFolderAndOnlyItsPasswordSignsInAgain)
{
    const qsizetype first = dialogs.shown().size();
    encrypt();
    EXPECT_EQ(titlesSince(first), QStringList({"Encrypt Diary", "Encrypt Diary", "Encrypt Diary", "Diary Encrypted"}));
    EXPECT_EQ(dialogs.shown()[first + 1].echo, Dialogs::Echo::Masked);
    EXPECT_TRUE(keyslot::isKeySlot(firstLine(data.root().passwordFile())));
    EXPECT_EQ(fileHolding(now(), *ScrambleLine("Zermatt")), "");
    EXPECT_EQ(fileHolding(now(), "Skates"), "");
    EXPECT_EQ(pageText(), QStringLiteral("Today we went skating at Zermatt"));

    signIn(kPassword);
    EXPECT_TRUE(session->vault().isEncrypted());
    EXPECT_EQ(session->book().pages(), QStringList({"2026-12-01.dat", "2026-12-04.dat"}));
    EXPECT_EQ(pageText(), QStringLiteral("Today we went skating at Zermatt"));
    EXPECT_EQ(richtext::plainText(session->notes().note()), QStringLiteral("Skates sharpened"));

    session.reset();
    DiarySession refused(dialogs, clock);
    refused.setDataRoot(data.path());
    dialogs.answerInput(kPlainPassword);
    dialogs.answerMessage(Button::Ok);
    EXPECT_FALSE(refused.signIn(program));
    EXPECT_TRUE(program.ended());
    EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("Wrong Password!"));
}

TEST_F(EncryptionSession, EncryptDiaryRefusingAShortOrMismatchedPasswordChangesNothing)
{
    const Snapshot before = now();
    dialogs.answerMessage(Button::No);
    session->vault().encryptDiary();

    dialogs.answerMessage(Button::Yes);
    dialogs.answerInput(QStringLiteral("seven77"));
    dialogs.answerMessage(Button::Ok);
    session->vault().encryptDiary();
    EXPECT_EQ(dialogs.texts().last(), QStringLiteral("The password must have at least 8 characters. Nothing has been changed."));

    const std::pair<QString, QString> refusals[] = {
        {QStringLiteral("password1"), QStringLiteral("The password is too weak: ")},
        {kPlainPassword, QStringLiteral("This is the plain diary's password, which any old copy of its password file gives away; "
                                        "choose another. Nothing has been changed.")}};
    for (const auto &[password, said] : refusals) {
        dialogs.answerMessage(Button::Yes);
        dialogs.answerInput(password);
        dialogs.answerMessage(Button::Ok);
        session->vault().encryptDiary();
        EXPECT_TRUE(dialogs.texts().last().startsWith(said)) << dialogs.texts().last().toStdString();
    }
    EXPECT_TRUE(dialogs.texts()[dialogs.texts().size() - 3].contains(
        QStringLiteral("Copies of the plain pages can remain on the disk, in backups, in synced copies and in snapshots; only "
                       "full-disk encryption protects those.")));

    dialogs.answerMessage(Button::Yes);
    dialogs.answerInput(QStringLiteral("long enough 1"));
    dialogs.answerInput(QStringLiteral("long enough 2"));
    dialogs.answerMessage(Button::Ok);
    session->vault().encryptDiary();
    EXPECT_EQ(dialogs.texts().last(), QStringLiteral("The two passwords are not the same. Nothing has been changed."));

    dialogs.answerMessage(Button::Yes);
    dialogs.answerInput(QString());
    session->vault().encryptDiary();

    EXPECT_FALSE(session->vault().isEncrypted());
    EXPECT_EQ(differences(before, now()), "");
}

// A pw.dat kept from before the change (a backup, a synced copy) opens
// nothing with the old password: not the files resealed, nor those written
// after, drafts included.
TEST_F(EncryptionSession, ChangePasswordRenewsTheKeySoAnOldPasswordFileOpensNothing)
{
    encrypt();
    QTextCursor(&session->book().page()).insertText(QStringLiteral("Matterhorn "));
    session->book().markChanged();
    dialogs.answerMessage(Button::Yes);
    session->book().SavePage();
    const QTemporaryDir kept;
    const QString oldPasswordFile = kept.filePath(QStringLiteral("pw.dat"));
    ASSERT_TRUE(QFile::copy(data.root().passwordFile(), oldPasswordFile));
    const auto old = openVault(oldPasswordFile, kPassword);
    ASSERT_TRUE(old);
    // The sealed files a vault opens, each under the name it is sealed with.
    const auto opening = [this](const Vault &vault) {
        QStringList opened;
        for (const auto &[name, bytes] : now()) {
            if (vault.open(bytes, conversion::storedNameOf(name)))
                opened.append(name);
        }
        return opened;
    };
    const QStringList before = opening(*old);
    ASSERT_EQ(before.size(), 4) << before.join(u' ').toStdString();

    const Snapshot unchanged = now();
    dialogs.answerInput(QStringLiteral("not the password"));
    dialogs.answerMessage(Button::Ok);
    session->vault().changePassword();
    EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("Wrong Password!"));
    EXPECT_EQ(differences(unchanged, now()), "");

    dialogs.answerInput(kPassword);
    dialogs.answerInput(QStringLiteral("sunshine"));
    dialogs.answerMessage(Button::Ok);
    session->vault().changePassword();
    EXPECT_TRUE(dialogs.texts().last().startsWith(QStringLiteral("The password is too weak: "))) << "an encrypted diary's rule";
    EXPECT_EQ(differences(unchanged, now()), "");

    dialogs.answerInput(kPassword);
    dialogs.answerInput(kNewPassword);
    dialogs.answerInput(kNewPassword);
    dialogs.answerMessage(Button::Ok);
    std::pair<int, int> heard;
    session->vault().changePassword([&](int done, int total) { heard = {done, total}; });
    EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("Password Saved"));
    EXPECT_EQ(heard, std::pair(5, 5)) << "the four sealed files and pw.dat";

    QTextCursor(&session->book().page()).insertText(QStringLiteral("Eiger "));
    session->book().markChanged();
    dialogs.answerMessage(Button::Yes);
    session->book().SavePage();
    QTextCursor(&session->book().page()).insertText(QStringLiteral("Jungfrau "));
    session->book().markChanged();
    session->drafts().flush();
    const auto renewed = openVault(data.root().passwordFile(), kNewPassword);
    ASSERT_TRUE(renewed);
    EXPECT_FALSE(openVault(data.root().passwordFile(), kPassword));
    EXPECT_EQ(opening(*old), QStringList());
    const QStringList after = opening(*renewed);
    EXPECT_EQ(after.size(), 6) << "two versions and a draft more: " << after.join(u' ').toStdString();
    EXPECT_TRUE(after.contains(QStringLiteral(".drafts/page@2026-12-04.dat")));

    // Unlocking asks the new slot, not the one the diary was opened with.
    session->vault().lockDiary();
    EXPECT_FALSE(session->vault().unlockDiary(kPassword));
    EXPECT_TRUE(session->vault().unlockDiary(kNewPassword));
}

TEST_F(EncryptionSession, DecryptDiaryLeavesThePlainDiaryTheOrdinarySignInOpens)
{
    Snapshot expected = now();
    encrypt();
    const Snapshot encrypted = now();
    dialogs.answerMessage(Button::Yes);
    dialogs.answerInput(QStringLiteral("not the password"));
    dialogs.answerMessage(Button::Ok);
    session->vault().decryptDiary();
    EXPECT_EQ(dialogs.texts().last(), QStringLiteral("The password you have entered is incorrect. The diary has not been decrypted."));
    EXPECT_TRUE(session->vault().isEncrypted());
    EXPECT_EQ(differences(encrypted, now()), "");

    const qsizetype first = dialogs.shown().size();
    dialogs.answerMessage(Button::Yes);
    dialogs.answerInput(kPassword);
    dialogs.answerMessage(Button::Ok);
    session->vault().decryptDiary();
    EXPECT_EQ(titlesSince(first), QStringList({"Decrypt Diary", "Decrypt Diary", "Diary Decrypted"}));
    EXPECT_FALSE(session->vault().isEncrypted());
    expected[QStringLiteral("pw.dat")] = passwordfile::fileBytes(kPassword);
    EXPECT_EQ(differences(expected, now()), "");

    signIn(kPassword);
    EXPECT_FALSE(session->vault().isEncrypted());
    EXPECT_EQ(pageText(), QStringLiteral("Today we went skating at Zermatt"));
}

// Sealed pages mark the diary encrypted, whatever stands in pw.dat instead of its key slot.
TEST_F(EncryptionSession, APlainMissingOrEmptyPasswordFileUnderSealedPagesIsRefused)
{
    encrypt();
    session.reset();
    const QString passwordFile = data.root().passwordFile();
    for (const std::optional<QByteArray> &swapped : {std::optional(passwordfile::noPasswordMarker() + "\r\n"),
                                                     std::optional(passwordfile::fileBytes(kPlainPassword)),
                                                     std::optional(QByteArray()), std::optional<QByteArray>()}) {
        QFile::remove(passwordFile);
        if (swapped)
            writeBytes(passwordFile, *swapped);
        const Snapshot before = now();
        RecordingProgram ending;
        {
            DiarySession refused(dialogs, clock);
            refused.setDataRoot(data.path());
            dialogs.answerMessage(Button::Ok);
            EXPECT_FALSE(refused.signIn(ending));
        }
        EXPECT_TRUE(ending.ended());
        const QString said = dialogs.texts().last();
        EXPECT_TRUE(said.startsWith(QStringLiteral("This diary is encrypted, but its password file is missing or is not an "
                                                   "encrypted diary's. Nothing has been changed. (pages/2026-12-0"))
                    && said.endsWith(QStringLiteral(".dat is sealed.) This program will now close!")))
            << said.toStdString();
        EXPECT_EQ(differences(before, now()), "");
    }
}

// Today's note and a kept draft that do not open are said, not shown empty or left lying.
TEST_F(EncryptionSession, ANoteOrDraftThatDoesNotOpenIsSaid)
{
    encrypt();
    session.reset();
    const QString note = data.path() + QStringLiteral("/dates/Dec-4.dat");
    const QString draft = data.path() + QStringLiteral("/.drafts/page@2026-12-01.dat");
    ASSERT_TRUE(QDir(data.path()).mkpath(QStringLiteral(".drafts")));
    for (const QString &damaged : {note, draft}) {
        QByteArray bytes = readBytes(damaged == note ? note : data.root().pagePath(QStringLiteral("2026-12-01")));
        bytes[bytes.size() - 1] = char(bytes.back() ^ 1);
        writeBytes(damaged, bytes);
    }
    const QByteArray damagedNote = readBytes(note);
    session = std::make_unique<DiarySession>(dialogs, clock);
    session->setDataRoot(data.path());
    dialogs.answerInput(kPassword);
    dialogs.answerMessage(Button::Ok);
    dialogs.answerMessage(Button::Ok);
    const qsizetype first = dialogs.shown().size();
    ASSERT_TRUE(session->signIn(program));
    EXPECT_EQ(dialogs.texts().mid(first),
              QStringList({"Enter the Password", "The note for December 4 (dates/Dec-4.dat) does not open: it is damaged or is not this diary's. It is "
                           "shown empty; its file is left as it is until a note for the day is saved, and then kept in the history.",
                           "The unsaved page kept in .drafts/page@2026-12-01.dat does not open: it is damaged or is not this "
                           "diary's. It has been moved into the page's history."}));
    EXPECT_EQ(readBytes(note), damagedNote);
    EXPECT_FALSE(QFile::exists(draft));
    EXPECT_EQ(QDir(data.path() + QStringLiteral("/history/pages/2026-12")).entryList(QDir::Files).size(), 1);
    EXPECT_EQ(pageText(), QStringLiteral("Today we went skating at Zermatt"));

    // Page History refuses to put back a version that does not open.
    session->chooseDay(QDate(2026, 12, 1));
    const QString id = session->book().pageVersions().constFirst().id;
    const QByteArray page = readBytes(data.root().pagePath(QStringLiteral("2026-12-01")));
    dialogs.answerMessage(Button::Ok);
    EXPECT_FALSE(session->book().restorePageVersion(id));
    EXPECT_TRUE(dialogs.texts().last().contains(QStringLiteral("does not open"))) << dialogs.texts().last().toStdString();
    EXPECT_EQ(readBytes(data.root().pagePath(QStringLiteral("2026-12-01"))), page);
}

TEST_F(EncryptionSession, LockWipesTheKeyUntilTheRightPasswordUnlocks)
{
    encrypt();
    EXPECT_FALSE(session->vault().isLocked());
    session->vault().lockDiary();
    EXPECT_TRUE(session->vault().isLocked());
    const Snapshot locked = now();
    EXPECT_FALSE(pagestore::load(session->dataRoot(), QDate(2026, 12, 4)));
    EXPECT_FALSE(notestore::load(session->dataRoot(), daykeys::MonthDay{12, 4}));
    EXPECT_FALSE(pagestore::save(session->dataRoot(), QDate(2026, 12, 4), page("written while locked")));
    EXPECT_EQ(differences(locked, now()), "");

    EXPECT_FALSE(session->vault().unlockDiary(QStringLiteral("not the password")));
    EXPECT_FALSE(session->vault().unlockDiary(QString()));
    EXPECT_TRUE(session->vault().isLocked());
    EXPECT_TRUE(session->vault().unlockDiary(kPassword));
    EXPECT_FALSE(session->vault().isLocked());
    EXPECT_EQ(pagestore::load(session->dataRoot(), QDate(2026, 12, 4)), kToday + "\r\n");
}

TEST_F(EncryptionSession, TypingDraftsSavesAndHistoryStaySealedAndSearchStillFinds)
{
    encrypt();
    QTextCursor(&session->book().page()).insertText(QStringLiteral("Matterhorn "));
    session->book().markChanged();
    session->drafts().flush();
    const QStringList drafts = QDir(data.path() + QStringLiteral("/.drafts")).entryList(QDir::Files);
    ASSERT_EQ(drafts, QStringList{QStringLiteral("page@2026-12-04.dat")});
    EXPECT_EQ(fileHolding(now(), *ScrambleLine("Matterhorn")), "") << "a draft is sealed like its page";

    dialogs.answerMessage(Button::Yes);
    session->book().SavePage();
    EXPECT_EQ(fileHolding(now(), *ScrambleLine("Matterhorn")), "");
    ASSERT_EQ(session->book().pageVersions().size(), 1);
    const auto version = pagestore::loadFile(session->dataRoot(), session->book().pageVersions()[0].path,
                                             session->dataRoot().pagePath(QStringLiteral("2026-12-04")));
    ASSERT_TRUE(version.has_value()) << "the version kept before the save opens as its page";
    EXPECT_TRUE(version->contains("Zermatt"));
    EXPECT_FALSE(version->contains("Matterhorn"));

    EXPECT_EQ(session->search().search(QStringLiteral("Matterhorn")), QStringList{QStringLiteral("2026-12-04.dat")});
    EXPECT_EQ(session->search().search(QStringLiteral("December")), QStringList{QStringLiteral("2026-12-01.dat")});
}
