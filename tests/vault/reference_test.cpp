#include "vaulttest.h"

#include "access/signin.h"
#include "cheapkdf.h"
#include "diary/history.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "diary/search.h"
#include "qtprinters.h"
#include "recordingprogram.h"
#include "richtext/pageexport.h"
#include "richtext/rtfreader.h"
#include "scripteddialogs.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

// The diary in reference/ was written by makereference.py, not by this
// program; the figures below are the ones that script put in it.
namespace {

using namespace vaulttest;

const QString kPassword = QStringLiteral(u"Schl\u00fcssel zum Tagebuch");
#define RTF_HEAD "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Times New Roman;}}"
const std::map<QString, QByteArray> kPages{
    {"2026-11-30", RTF_HEAD "\r\n\\pard Rain all day, so \\b nothing\\b0  but \\i reading\\i0 .\\par\r\n}"},
    {"2026-12-08", RTF_HEAD "\r\n\\pard Caf\\'e9 with Ines at the harbour.\\par\r\n\\pard\\ul Remember\\ulnone  the tickets.\\par\r\n}"},
    {"2027-01-01", RTF_HEAD "{\\colortbl;\\red200\\green0\\blue0;}\r\n\\pard\\cf1\\fs32 New year, new page.\\cf0\\fs24\\par\r\n}"},
};
const QByteArray kEarlier = RTF_HEAD "\r\n\\pard Caf\\'e9 with Ines.\\par\r\n}";
#undef RTF_HEAD
const std::map<QString, QByteArray> kNotes{{"Dec-8", "Cr\xe8me br\xfbl\xe9" "e at Ines's"},
                                           {"Jan-1", "Call grandmother\r\nWater the plants"}};

class ReferenceDiary : public ::testing::Test
{
protected:
    void SetUp() override
    {
        copyTree(QStringLiteral(QUILLNEST_VAULT_REFERENCE), dir.path());
        vault = openVault(root().passwordFile(), kPassword);
        ASSERT_TRUE(vault);
    }

    DataRoot root() const { return DataRoot(dir.path(), vault); }
    QString path(const char *relative) const { return dir.filePath(QString::fromLatin1(relative)); }
    bool loads(const char *relative) const
    {
        const QString file = path(relative);
        return QString::fromLatin1(relative).startsWith(QLatin1String("dates/")) ? notestore::loadFile(root(), file).has_value()
                                                                                 : pagestore::loadFile(root(), file).has_value();
    }
    // A refusal reads only: the folder is the same after it.
    void expectRefusedUntouched(const char *relative, const std::string &why) const
    {
        const Snapshot before = snapshot(dir.path());
        EXPECT_FALSE(loads(relative)) << why;
        EXPECT_EQ(differences(before, snapshot(dir.path())), "") << why;
    }
    QStringList searchFor(QStringView term) const
    {
        return searchPages(root().pagesDir(), QDir(root().pagesDir()).entryList(QDir::Files, QDir::Name), term, vault.get());
    }

    QTemporaryDir dir;
    std::shared_ptr<Vault> vault;
};

// Restores the cheap limits however the test ends.
struct PolicyGuard
{
    explicit PolicyGuard(KdfPolicy policy) { setKdfPolicy(std::move(policy)); }
    ~PolicyGuard() { useCheapKeyDerivation(); }
};

} // namespace

TEST_F(ReferenceDiary, EveryPageNoteAndVersionReadsBackExactly)
{
    EXPECT_EQ(QDir(root().pagesDir()).entryList(QDir::Files, QDir::Name),
              QStringList({"2026-11-30.dat", "2026-12-08.dat", "2027-01-01.dat"}));
    for (const auto &[day, rtf] : kPages)
        EXPECT_EQ(pagestore::load(root(), *daykeys::dateFromDayKey(day)), rtf + "\r\n") << day.toStdString();
    for (const auto &[key, text] : kNotes)
        EXPECT_EQ(notestore::load(root(), *daykeys::monthDayFromNoteKey(key)), text) << key.toStdString();
    EXPECT_EQ(notestore::decodeNote(*notestore::load(root(), daykeys::MonthDay{12, 8})), QStringLiteral(u"Cr\u00e8me br\u00fbl\u00e9e at Ines's"));

    QTextDocument page;
    EXPECT_TRUE(richtext::readRtf(*pagestore::load(root(), QDate(2026, 12, 8)), page));
    EXPECT_TRUE(richtext::plainText(page).startsWith(QStringLiteral(u"Caf\u00e9 with Ines at the harbour.")));

    const QString day = root().pagePath(QStringLiteral("2026-12-08"));
    const auto versions = history::versions(root(), day);
    ASSERT_EQ(versions.size(), 1);
    EXPECT_EQ(versions[0].id, QStringLiteral("20261207-213000-000"));
    EXPECT_EQ(pagestore::loadFile(root(), versions[0].path, day), kEarlier + "\r\n");
    EXPECT_FALSE(pagestore::loadFile(root(), versions[0].path)) << "a version opens only as its page";

    EXPECT_EQ(searchFor(u"harbour"), QStringList({"2026-12-08.dat"}));
    EXPECT_EQ(searchFor(u"page."), QStringList({"2027-01-01.dat"}));
}

TEST_F(ReferenceDiary, OnlyTheRightPasswordInEitherNormalFormOpensTheKeySlot)
{
    const Snapshot before = snapshot(dir.path());
    const auto slot = keyslot::parse(firstLine(root().passwordFile()));
    ASSERT_TRUE(slot);
    for (const QString &wrong : {QString(), QStringLiteral(u"Schl\u00fcssel zum Tagebuc"), QStringLiteral(u"Schl\u00fcssel zum Tagebucg"),
                                 QStringLiteral(u"schl\u00fcssel zum Tagebuch"), QStringLiteral(u"Schl\u00fcssel zum Tagebuch "),
                                 QStringLiteral("Schlussel zum Tagebuch")})
        EXPECT_FALSE(keyslot::unwrap(*slot, keyslot::passwordBytes(wrong))) << wrong.toStdString();
    // Typed in Latin-1 rather than UTF-8 it is another password.
    EXPECT_FALSE(keyslot::unwrap(*slot, SecretBytes(QByteArrayView("Schl\xfcssel zum Tagebuch"))));

    const QString decomposed = QStringLiteral(u"Schlu\u0308ssel zum Tagebuch");
    ASSERT_NE(decomposed, kPassword);
    for (const QString &typed : {kPassword, decomposed}) {
        const auto opened = openVault(root().passwordFile(), typed);
        ASSERT_TRUE(opened) << typed.toStdString();
        EXPECT_TRUE(pagestore::load(DataRoot(dir.path(), opened), QDate(2026, 11, 30)));
    }
    EXPECT_EQ(differences(before, snapshot(dir.path())), "");
}

TEST_F(ReferenceDiary, AnyFlippedBitInTheKeySlotLineIsRefused)
{
    const QByteArray line = firstLine(root().passwordFile());
    const SecretBytes password = keyslot::passwordBytes(kPassword);
    ASSERT_TRUE(keyslot::parse(line));
    QStringList opened;
    for (qsizetype i = 0; i < line.size(); ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            QByteArray flipped = line;
            flipped[i] = char(flipped[i] ^ (1 << bit));
            const auto slot = keyslot::parse(flipped);
            if (slot && keyslot::unwrap(*slot, password))
                opened.append(QStringLiteral("%1:%2").arg(i).arg(bit));
        }
    }
    EXPECT_EQ(opened, QStringList());
}

TEST_F(ReferenceDiary, AnyFlippedBitInASealedPageOrNoteIsRefused)
{
    for (const char *relative : {"pages/2026-12-08.dat", "dates/Dec-8.dat"}) {
        const QByteArray original = readBytes(path(relative));
        ASSERT_TRUE(loads(relative));
        const auto flipped = [&](qsizetype i, int bit) {
            QByteArray bytes = original;
            bytes[i] = char(bytes[i] ^ (1 << bit));
            return bytes;
        };
        // Every bit in memory; on disk, through the stores, a bit in each part of the file.
        QStringList opened;
        for (qsizetype i = 0; i < original.size(); ++i) {
            for (int bit = 0; bit < 8; ++bit) {
                if (vault->open(flipped(i, bit), QString::fromLatin1(relative)))
                    opened.append(QStringLiteral("%1:%2").arg(i).arg(bit));
            }
        }
        EXPECT_EQ(opened, QStringList()) << relative;
        for (const qsizetype i : {qsizetype(0), qsizetype(3), qsizetype(4), qsizetype(27), qsizetype(28), qsizetype(40),
                                  original.size() - 17, original.size() - 16, original.size() - 1}) {
            writeBytes(path(relative), flipped(i, int(i % 8)));
            expectRefusedUntouched(relative, std::string(relative) + " byte " + std::to_string(i));
        }
        writeBytes(path(relative), original);
    }
}

TEST_F(ReferenceDiary, TruncatedSealedFilesAreRefused)
{
    const QByteArray page = readBytes(path("pages/2026-12-08.dat"));
    for (const qsizetype length : {qsizetype(0), qsizetype(1), qsizetype(3), qsizetype(4), qsizetype(28), qsizetype(43),
                                   qsizetype(44), page.size() - 1}) {
        writeBytes(path("pages/2026-12-08.dat"), page.left(length));
        expectRefusedUntouched("pages/2026-12-08.dat", "length " + std::to_string(length));
        EXPECT_EQ(searchFor(u"harbour"), QStringList());
    }
}

TEST_F(ReferenceDiary, FilesUnderAnotherNameOrFromAnotherDiaryAreRefused)
{
    const QByteArray first = readBytes(path("pages/2026-11-30.dat"));
    const QByteArray second = readBytes(path("pages/2026-12-08.dat"));
    writeBytes(path("pages/2026-11-30.dat"), second);
    writeBytes(path("pages/2026-12-08.dat"), first);
    expectRefusedUntouched("pages/2026-11-30.dat", "swapped");
    expectRefusedUntouched("pages/2026-12-08.dat", "swapped");
    EXPECT_EQ(searchFor(u"harbour"), QStringList());
    writeBytes(path("pages/2026-11-30.dat"), first);

    ASSERT_TRUE(QFile::rename(path("pages/2026-12-08.dat"), path("pages/2026-12-09.dat")));
    expectRefusedUntouched("pages/2026-12-09.dat", "renamed to another day");
    writeBytes(path("dates/Dec-9.dat"), readBytes(path("dates/Dec-8.dat")));
    expectRefusedUntouched("dates/Dec-9.dat", "note copied to another day");
    writeBytes(path("pages/2026-12-10.dat"), readBytes(path("dates/Dec-8.dat")));
    expectRefusedUntouched("pages/2026-12-10.dat", "note copied as a page");

    // A page well sealed, but by another diary's key under the very same name.
    const Vault other(keyslot::newMasterKey(), {});
    const auto foreign = other.seal(pagestore::encodePage(kPages.at("2026-12-08")).value(), QStringLiteral("pages/2026-12-08.dat"));
    ASSERT_TRUE(foreign);
    ASSERT_TRUE(other.open(*foreign, QStringLiteral("pages/2026-12-08.dat")));
    writeBytes(path("pages/2026-12-08.dat"), *foreign);
    expectRefusedUntouched("pages/2026-12-08.dat", "from another diary");
}

TEST_F(ReferenceDiary, KeySlotLimitsBelowTheFloorAreRefusedAndLoweredOnesFailTheTag)
{
    const PolicyGuard strict({{2, 16384}, {64, std::size_t(1) << 30}, [] { return KdfLimits{3, 32768}; }});
    EXPECT_FALSE(keyslot::parse(firstLine(root().passwordFile()))) << "the reference slot costs less than this floor";

    const SecretBytes password = keyslot::passwordBytes(kPassword);
    const auto made = vault->slotFor(password, {3, 32768});
    ASSERT_TRUE(made);
    const QByteArray line = keyslot::format(*made);
    ASSERT_TRUE(keyslot::parse(line) && keyslot::unwrap(*keyslot::parse(line), password));
    const auto edited = [&](const char *from, const char *to) { return QByteArray(line).replace(from, to); };

    EXPECT_FALSE(keyslot::parse(edited(" ops=3 ", " ops=1 ")));
    EXPECT_FALSE(keyslot::parse(edited(" mem=32768 ", " mem=8192 ")));
    EXPECT_FALSE(keyslot::parse(edited(" ops=3 ", " ops=65 "))) << "above the ceiling";
    for (const auto &[from, to] : {std::pair{" ops=3 ", " ops=2 "}, std::pair{" mem=32768 ", " mem=16384 "}}) {
        const auto lowered = keyslot::parse(edited(from, to));
        ASSERT_TRUE(lowered) << to;
        EXPECT_FALSE(keyslot::unwrap(*lowered, password)) << to;
    }
}

TEST_F(ReferenceDiary, SignInOpensTheDiaryOnlyWithItsPasswordAndNamesADamagedSlot)
{
    {
        ScriptedDialogs dialogs;
        RecordingProgram program;
        std::shared_ptr<Vault> opened;
        dialogs.answerInput(kPassword);
        EXPECT_TRUE(SignIn(root().passwordFile(), dialogs, program, &opened));
        EXPECT_FALSE(program.ended());
        ASSERT_TRUE(opened);
        ASSERT_EQ(dialogs.shown().size(), 1);
        EXPECT_EQ(dialogs.shown()[0].echo, Dialogs::Echo::Masked);
        EXPECT_EQ(pagestore::load(DataRoot(dir.path(), opened), QDate(2026, 11, 30)), kPages.at("2026-11-30") + "\r\n");
    }
    const Snapshot before = snapshot(dir.path());
    {
        ScriptedDialogs dialogs;
        RecordingProgram program;
        std::shared_ptr<Vault> opened;
        dialogs.answerInput(QStringLiteral("Schluessel zum Tagebuch"));
        dialogs.answerMessage(Dialogs::Button::Ok);
        EXPECT_FALSE(SignIn(root().passwordFile(), dialogs, program, &opened));
        EXPECT_TRUE(program.ended());
        EXPECT_FALSE(opened);
        ASSERT_EQ(dialogs.shown().size(), 2);
        EXPECT_EQ(dialogs.shown()[1].title, QStringLiteral("Wrong Password!"));
        EXPECT_EQ(dialogs.shown()[1].text, QStringLiteral("The password you have entered is incorrect. This program will end now."));
    }
    EXPECT_EQ(differences(before, snapshot(dir.path())), "");

    const QByteArray line = firstLine(root().passwordFile());
    for (const QByteArray &damaged : {line.chopped(4), QByteArray(line).replace(" ops=1 ", " ops=0 "),
                                      QByteArray(line).replace("salt=", "salt=A"), line + " extra"}) {
        writeBytes(root().passwordFile(), damaged + "\r\n");
        const Snapshot tampered = snapshot(dir.path());
        ScriptedDialogs dialogs;
        RecordingProgram program;
        std::shared_ptr<Vault> opened;
        dialogs.answerMessage(Dialogs::Button::Ok);
        EXPECT_FALSE(SignIn(root().passwordFile(), dialogs, program, &opened)) << damaged.toStdString();
        EXPECT_TRUE(program.ended());
        EXPECT_FALSE(opened);
        ASSERT_EQ(dialogs.shown().size(), 1) << "no password is asked for a slot that cannot be read";
        EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Password File is damaged"));
        EXPECT_EQ(dialogs.shown()[0].text,
                  QStringLiteral("The password file of this encrypted diary is damaged: its key cannot be read. Nothing has been "
                                 "changed. This program will now close!"));
        EXPECT_EQ(dialogs.shown()[0].icon, Dialogs::Icon::Critical);
        EXPECT_EQ(differences(tampered, snapshot(dir.path())), "");
    }
}

// One bit flipped in either copy of the slot, wherever it lands, costs
// nothing: the other copy opens the diary, replaces the damaged one and the
// user is told once. A password file from before the second copy gains it
// silently; copies that differ and both refuse say the file may be damaged.
TEST_F(ReferenceDiary, EitherCopyOfTheKeySlotOpensTheDiaryAndMendsTheOther)
{
    QStringList told;
    const auto signIn = [&](bool tellsOnce) {
        ScriptedDialogs dialogs;
        RecordingProgram program;
        std::shared_ptr<Vault> opened;
        dialogs.answerInput(kPassword);
        if (tellsOnce)
            dialogs.answerMessage(Dialogs::Button::Ok);
        const bool in = SignIn(root().passwordFile(), dialogs, program, &opened);
        told = dialogs.texts().mid(1);
        return in && opened && pagestore::load(DataRoot(dir.path(), opened), QDate(2026, 11, 30));
    };
    const QByteArray line = firstLine(root().passwordFile());
    const QByteArray whole = keyslot::fileBytes(line);
    ASSERT_TRUE(signIn(false));
    EXPECT_EQ(told, QStringList());
    ASSERT_EQ(readBytes(root().passwordFile()), whole);
    EXPECT_EQ(keyslot::copies(whole), QList<QByteArray>({line, line}));

    const QString repaired = QStringLiteral("One of the two copies of the key in the password file was damaged. It has been "
                                            "replaced by the other copy, which is whole.");
    const qsizetype ops = line.indexOf("ops=") + 4;
    for (const qsizetype at : {qsizetype(0), ops, line.indexOf("salt=") + 7, line.indexOf("nonce=") + 9,
                               line.indexOf("key=") + 20, line.size() - 1, line.size()}) {
        for (const qsizetype copy : {qsizetype(0), keyslot::kSecondCopyAt}) {
            QByteArray flipped = whole;
            flipped[copy + at] = char(flipped[copy + at] ^ 0x01);
            writeBytes(root().passwordFile(), flipped);
            EXPECT_TRUE(signIn(true)) << at << " in the copy at " << copy;
            EXPECT_EQ(told, QStringList{repaired}) << at << " in the copy at " << copy;
            EXPECT_EQ(readBytes(root().passwordFile()), whole) << at << " in the copy at " << copy;
        }
    }

    QByteArray both = whole;
    for (const qsizetype at : {line.indexOf("key=") + 10, keyslot::kSecondCopyAt + line.indexOf("key=") + 12})
        both[at] = both[at] == 'A' ? 'B' : 'A';
    writeBytes(root().passwordFile(), both);
    EXPECT_FALSE(signIn(true));
    EXPECT_EQ(told, QStringList{QStringLiteral("The password you have entered is incorrect, or the password file is damaged: its "
                                               "two copies of the key differ. This program will end now.")});
    EXPECT_EQ(readBytes(root().passwordFile()), both);
}

TEST(KdfPolicy, ASlotAskingMoreThanAboutTenSecondsIsRefused)
{
    const KdfPolicy product = productPolicy();
    EXPECT_LE(product.ceiling.ops, 16u);
    EXPECT_LE(product.ceiling.memory, std::size_t(256) << 20);
    EXPECT_GE(product.ceiling.ops, product.floor.ops);
}
