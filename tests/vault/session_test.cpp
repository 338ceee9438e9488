#include "vaulttest.h"

namespace {

using namespace vaulttest;
using diarytexts::page;
using Button = Dialogs::Button;

const QString kPlainPassword = QStringLiteral("garden-path-9");
const QString kPassword = QStringLiteral("winter journal 7");
const QString kNewPassword = QStringLiteral("spring journal 8");
const QString kTodayText = QStringLiteral("Today we went skating at Zermatt");
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
        signIn({kPlainPassword});
    }

    bool signsIn(const Answers &answers, RecordingProgram &ending)
    {
        session.reset();
        session = std::make_unique<DiarySession>(dialogs, clock);
        session->setDataRoot(data.path());
        script(dialogs, answers);
        return session->signIn(ending);
    }
    void signIn(const Answers &answers) { ASSERT_TRUE(signsIn(answers, program)); }
    void encrypt()
    {
        script(dialogs, {Button::Yes, kPassword, kPassword, Button::Ok});
        session->vault().encryptDiary();
        ASSERT_TRUE(session->vault().isEncrypted());
    }
    void type(const QString &text)
    {
        QTextCursor(&session->book().page()).insertText(text);
        session->book().markChanged();
    }
    QStringList titlesSince(qsizetype first) const
    {
        QStringList titles;
        std::ranges::transform(dialogs.shown().mid(first), std::back_inserter(titles), &ScriptedDialogs::Shown::title);
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

// Encrypt Diary refused, or given a short, reused or mismatched password,
// changes nothing. Only the new password signs in to the encrypted diary; decrypting it
// gives back the plain diary byte for byte, under the password it was decrypted with.
TEST_F(EncryptionSession, EncryptDiaryRefusesABadPasswordSealsTheFolderForAGoodOneAndDecryptDiaryPutsItBack)
{
    Snapshot expected = now();
    const std::pair<Answers, QString> refusals[] = {
        {{Button::No}, QString()},
        {{Button::Yes, QString()}, QString()},
        {{Button::Yes, QStringLiteral("seven77"), Button::Ok, QString()},
         QStringLiteral("The password must have at least 8 characters. Please enter another password.")},
        {{Button::Yes, QStringLiteral("long enough 1"), QStringLiteral("long enough 2"), Button::Ok, QString()},
         messages::newPasswordsDiffer(messages::encryptDiary().title).text},
        {{Button::Yes, kPlainPassword, Button::Ok, QString()}, QStringLiteral("This is the plain diary's password, which any old copy of its password "
                                                                   "file gives away; choose another. Please enter another password.")}};
    for (const auto &[answers, said] : refusals) {
        script(dialogs, answers);
        session->vault().encryptDiary();
        EXPECT_TRUE(dialogs.texts().value(dialogs.texts().size() - 2).startsWith(said)) << dialogs.texts().last().toStdString();
    }
    EXPECT_TRUE(dialogs.texts()[dialogs.texts().size() - 4].contains(
        QStringLiteral("Copies of the plain pages can remain on the disk, in backups, in synced copies and in snapshots; only "
                       "full-disk encryption protects those.")));
    EXPECT_EQ(differences(expected, now()), "");

    qsizetype first = dialogs.shown().size();
    encrypt();
    EXPECT_EQ(std::tuple(titlesSince(first), dialogs.shown()[first + 1].echo, keyslot::isKeySlot(firstLine(data.root().passwordFile())), pageText()),
              std::tuple(QStringList({"Encrypt Diary", "Encrypt Diary", "Encrypt Diary", "Diary Encrypted"}), Dialogs::Echo::Masked, true, kTodayText));
    EXPECT_EQ(fileHolding(now(), *ScrambleLine("Zermatt")) + fileHolding(now(), "Skates"), "");

    EXPECT_FALSE(signsIn({kPlainPassword, Button::Ok}, program));
    EXPECT_EQ(std::pair(program.ended(), dialogs.shown().last()), std::pair(true, ScriptedDialogs::shownBox(messages::wrongPassword())));
    signIn({kPassword});
    EXPECT_EQ(std::tuple(session->vault().isEncrypted(), session->book().pages(), pageText(), richtext::plainText(session->notes().note())),
              std::tuple(true, QStringList({"2026-12-01.dat", "2026-12-04.dat"}), kTodayText, QStringLiteral("Skates sharpened")));

    const Snapshot encrypted = now();
    script(dialogs, {Button::Yes, QStringLiteral("not the password"), Button::Ok});
    session->vault().decryptDiary();
    EXPECT_EQ(std::tuple(dialogs.shown().last(), session->vault().isEncrypted(), differences(encrypted, now())),
              std::tuple(ScriptedDialogs::shownBox(messages::wrongPasswordNotDecrypted()), true, std::string()));
    first = dialogs.shown().size();
    script(dialogs, {Button::Yes, kPassword, Button::Ok});
    session->vault().decryptDiary();
    expected[QStringLiteral("pw.dat")] = passwordfile::fileBytes(kPassword);
    EXPECT_EQ(std::tuple(titlesSince(first), session->vault().isEncrypted(), differences(expected, now())),
              std::tuple(QStringList({"Decrypt Diary", "Decrypt Diary", "Diary Decrypted"}), false, std::string()));
}

// Every kind of file too: a version, drafts of both kinds, a text file among
// the notes and one outside the diary's folders.
TEST_F(EncryptionSession, ConversionSealsEveryFileSetsAForeignOneAsideAndDecryptsByteForByte)
{
    session.reset();
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2026, 12, 4), page("Zermatt again")));
    ASSERT_TRUE(drafts::write(data.root(), drafts::Kind::Page, QStringLiteral("2026-12-06"), page("Zermatt draft")));
    ASSERT_TRUE(drafts::write(data.root(), drafts::Kind::Note, QStringLiteral("Dec-6"), "Skates draft"));
    data.writeFile(QStringLiteral("dates/todo.txt"), "Zermatt: pack the Skates\n");
    data.writeFile(QStringLiteral("readme.txt"), "left alone\n");
    const Snapshot plain = now();
    SecretBytes master = keyslot::newMasterKey();
    const auto slot = keyslot::make(master, keyslot::passwordBytes(kPassword), kdfPolicy().chooseForNewSlot());
    const auto vault = std::make_shared<Vault>(std::move(master), slot.value());
    const DataRoot root(data.path(), vault);
    std::pair<int, int> last{0, 0};
    ASSERT_TRUE(conversion::encrypt(data.root(), *vault, keyslot::format(*slot), [&](int done, int total) { last = {done, total}; }));
    EXPECT_EQ(last, std::make_pair(8, 8)) << "two pages, two dates files, a version, two drafts and pw.dat";

    const Snapshot encrypted = now();
    ASSERT_EQ(encrypted.size(), plain.size());
    for (const auto &[name, bytes] : plain) {
        // Files outside the diary's folders, like the readme, are not the diary's.
        const qsizetype added = name.contains(u'/') ? Vault::kOverhead : 0;
        EXPECT_TRUE(name.endsWith(u'/') || name == u"pw.dat" || encrypted.at(name).size() == bytes.size() + added) << name.toStdString();
    }
    for (const char *word : {"Zermatt", "Skates"})
        EXPECT_EQ(fileHolding(encrypted, word) + fileHolding(encrypted, *ScrambleLine(word)), "") << word;
    const QString day = root.pagePath(QStringLiteral("2026-12-04"));
    const auto found = drafts::found(root);
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(std::tuple(pagestore::loadFile(root, history::versions(root, day).value(0).path, day),
                         pagestore::loadFile(root, found[0].path, drafts::storedFile(root, found[0])),
                         notestore::loadFile(root, found[1].path, drafts::storedFile(root, found[1]))),
              std::tuple(kToday + "\r\n", page("Zermatt draft") + "\r\n", QByteArray("Skates draft")));

    // Another diary's page and a damaged draft are set aside as they are; a conflict copy is this diary's.
    const Vault other(keyslot::newMasterKey(), {});
    const QString foreign = QStringLiteral("pages/2026-12-07.dat"), damaged = found[0].path.mid(data.path().size() + 1),
                  copy = QStringLiteral("pages/2026-12-04.sync-conflict-20261204-183012-ABCDEFG.dat");
    const QByteArray notOurs = *other.seal(*pagestore::encodePage(page("Not ours")), foreign);
    data.writeFile(foreign, notOurs);
    data.writeFile(damaged, data.readFile(damaged).chopped(1));
    data.writeFile(copy, *vault->seal(*pagestore::encodePage(page("Zermatt copy")), QStringLiteral("pages/2026-12-04.dat")));
    const auto renewed = std::make_shared<Vault>(keyslot::newMasterKey(), KeySlot{});
    QStringList setAside;
    ASSERT_TRUE(conversion::rekey(root, *renewed, "quillnest-key of the renewed vault", {}, &setAside));
    EXPECT_EQ(setAside, QStringList({foreign, damaged}));
    EXPECT_EQ(std::tuple(data.readFile(QStringLiteral("set-aside/") + foreign), QFileInfo::exists(data.path() + u'/' + foreign),
                         renewed->open(data.readFile(copy), QStringLiteral("pages/2026-12-04.dat")).has_value()),
              std::tuple(notOurs, false, true));
    QDir(data.path() + QStringLiteral("/set-aside")).removeRecursively();
    QFile::remove(data.path() + u'/' + copy);
    const DataRoot resealed(data.path(), renewed);
    const QByteArray givenPasswordFile = passwordfile::fileBytes(u"new-secret");
    ASSERT_TRUE(conversion::decrypt(resealed, givenPasswordFile));
    Snapshot expected = plain;
    expected[QStringLiteral("pw.dat")] = givenPasswordFile;
    expected.erase(damaged);
    EXPECT_EQ(differences(expected, now()), "");
}

// A pw.dat kept from before the change (a backup, a synced copy) opens
// nothing with the old password: not the files resealed, a version among
// them, nor a draft written after. Unlocking asks the new slot, not the one
// the diary was opened with, and a locked diary reads and writes nothing.
TEST_F(EncryptionSession, ChangePasswordRenewsTheKeySoAnOldPasswordFileOpensNothingAndALockWipesIt)
{
    encrypt();
    type(QStringLiteral("Matterhorn "));
    dialogs.answerMessage(Button::Yes);
    session->book().SavePage();
    EXPECT_EQ(session->search().search(QStringLiteral("Matterhorn")), QStringList{QStringLiteral("2026-12-04.dat")});
    const auto old = openVault(data.root().passwordFile(), kPassword);
    ASSERT_TRUE(old) << "what a pw.dat kept from now opens";
    // The sealed files a vault opens, each under the name it is sealed with.
    const auto opening = [this](const Vault &vault) {
        QStringList opened;
        for (const auto &[name, bytes] : now()) {
            if (vault.open(bytes, conversion::storedNameOf(name)))
                opened.append(name);
        }
        return opened;
    };
    ASSERT_EQ(opening(*old).size(), 4) << opening(*old).join(u' ').toStdString();

    const Snapshot unchanged = now();
    script(dialogs, {QStringLiteral("not the password"), Button::Ok});
    session->vault().changePassword();
    EXPECT_EQ(dialogs.shown().last(), ScriptedDialogs::shownBox(messages::wrongPasswordNotChanged()));
    script(dialogs, {kPassword, QStringLiteral("sunshine"), Button::Ok, QString()});
    session->vault().changePassword();
    EXPECT_TRUE(dialogs.texts().value(dialogs.texts().size() - 2).startsWith(QStringLiteral("The password is too weak: "))) << "an encrypted diary's rule";
    EXPECT_EQ(differences(unchanged, now()), "");

    data.writeFile(QStringLiteral("dates/Dec-7.dat"), "not sealed with this diary's key");
    script(dialogs, {kPassword, kNewPassword, kNewPassword, Button::Ok, Button::Ok});
    std::pair<int, int> heard;
    session->vault().changePassword([&](int done, int total) { heard = {done, total}; });
    EXPECT_EQ(std::pair(dialogs.shown().mid(dialogs.shown().size() - 2), heard),
              std::pair(QList{ScriptedDialogs::shownBox(messages::passwordSaved()),
                              ScriptedDialogs::shownBox(messages::filesSetAside({QStringLiteral("dates/Dec-7.dat")}))},
                        std::pair(6, 6)))
        << "heard of the four sealed files, the one set aside and pw.dat";

    type(QStringLiteral("Jungfrau "));
    session->drafts().flush();
    EXPECT_EQ(fileHolding(now(), *ScrambleLine("Jungfrau")) + fileHolding(now(), *ScrambleLine("Matterhorn")), "");
    const auto renewed = openVault(data.root().passwordFile(), kNewPassword);
    ASSERT_TRUE(renewed);
    EXPECT_TRUE(!openVault(data.root().passwordFile(), kPassword) && opening(*old).isEmpty());
    const QStringList after = opening(*renewed);
    EXPECT_TRUE(after.size() == 5 && after.contains(TestDataRoot::drafts() + QStringLiteral("/page@2026-12-04.dat"))) << after.join(u' ').toStdString();

    session->vault().lockDiary();
    const Snapshot locked = now();
    EXPECT_FALSE(pagestore::load(session->dataRoot(), QDate(2026, 12, 4)) || notestore::load(session->dataRoot(), daykeys::MonthDay{12, 4})
                 || pagestore::save(session->dataRoot(), QDate(2026, 12, 4), page("written while locked")));
    EXPECT_EQ(differences(locked, now()), "");
    EXPECT_TRUE(!session->vault().unlockDiary(kPassword) && !session->vault().unlockDiary(QString()) && session->vault().isLocked());
    EXPECT_TRUE(session->vault().unlockDiary(kNewPassword) && !session->vault().isLocked()
                && pagestore::load(session->dataRoot(), QDate(2026, 12, 4)).value_or("").contains("Matterhorn"));
    // A stored page the lock wipes comes back from its file; a day without one, and a second lock, change nothing.
    dialogs.answerMessage(Button::Yes);
    session->book().SavePage();
    for (const QDate day : {QDate(2026, 12, 4), QDate(2026, 12, 9)}) {
        session->chooseDay(day);
        session->vault().lockDiary();
        session->vault().lockDiary();
        EXPECT_TRUE(pageText().isEmpty() && session->vault().unlockDiary(kNewPassword));
        EXPECT_EQ(pageText().contains(u"Jungfrau"), day.day() == 4);
    }
}

// Sealed pages mark the diary encrypted, whatever stands in pw.dat instead of
// its key slot. Today's note and a kept draft that do not open are said, not
// shown empty or left lying, and Page History puts back no version that does not open.
TEST_F(EncryptionSession, AWrongPasswordFileOrADamagedNoteOrDraftIsSaid)
{
    encrypt();
    session.reset();
    const QString passwordFile = data.root().passwordFile();
    const QByteArray slot = readBytes(passwordFile);
    // The last, a null one, stands for no pw.dat at all.
    for (const QByteArray &swapped :
         {passwordfile::noPasswordMarker() + "\r\n", passwordfile::fileBytes(kPlainPassword), QByteArray(""), QByteArray()}) {
        QFile::remove(passwordFile);
        if (!swapped.isNull())
            data.writeFile(QStringLiteral("pw.dat"), swapped);
        const Snapshot before = now();
        RecordingProgram ending;
        EXPECT_TRUE(!signsIn({Button::Ok}, ending) && ending.ended());
        session.reset();
        const QString said = dialogs.texts().last();
        EXPECT_TRUE(said.startsWith(QStringLiteral("This diary is encrypted, but its password file is missing or is not an "
                                                   "encrypted diary's. Nothing has been changed. (pages/2026-12-0"))
                    && said.endsWith(QStringLiteral(".dat is sealed.) This program will now close!")))
            << said.toStdString();
        EXPECT_EQ(differences(before, now()), "");
    }
    data.writeFile(QStringLiteral("pw.dat"), slot);

    const QString note = QStringLiteral("dates/Dec-4.dat");
    const QString draft = QStringLiteral(".drafts/page@2026-12-01.dat");
    const auto lastBitFlipped = [this](const QString &file) { return flipped(data.readFile(file), data.readFile(file).size() - 1, 0); };
    data.writeFile(draft, lastBitFlipped(QStringLiteral("pages/2026-12-01.dat")));
    data.writeFile(note, lastBitFlipped(note));
    const QByteArray damagedNote = data.readFile(note);
    const qsizetype first = dialogs.shown().size();
    signIn({kPassword, Button::Ok, Button::Ok});
    EXPECT_EQ(dialogs.texts().mid(first),
              QStringList({QStringLiteral("Enter the Password"), messages::noteUnopened(QStringLiteral("December 4"), note).text,
                           messages::draftUnopened(QStringLiteral("page"), draft).text}));
    EXPECT_TRUE(data.readFile(note) == damagedNote && !QFileInfo::exists(data.path() + u'/' + draft));
    EXPECT_EQ(std::pair(QDir(data.path() + QStringLiteral("/history/pages/2026-12")).entryList(QDir::Files).size(), pageText()),
              std::pair(qsizetype(1), kTodayText));

    session->chooseDay(QDate(2026, 12, 1));
    const QByteArray kept = readBytes(data.root().pagePath(QStringLiteral("2026-12-01")));
    dialogs.answerMessage(Button::Ok);
    EXPECT_FALSE(session->book().restorePageVersion(session->book().pageVersions().constFirst().id));
    EXPECT_TRUE(dialogs.texts().last().contains(QStringLiteral("does not open"))) << dialogs.texts().last().toStdString();
    EXPECT_EQ(readBytes(data.root().pagePath(QStringLiteral("2026-12-01"))), kept);
}
