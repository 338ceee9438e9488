#include "diary/keyslotfile.h"
#include "vaulttest.h"

// The diary in reference/ was written by makereference.py, not by this
// program, from the plain files in data/plain/.
namespace {

using namespace vaulttest;
using Button = Dialogs::Button;

const QString kPassword = QStringLiteral(u"Schl\u00fcssel zum Tagebuch");
// What the stores give back from it, under the same names.
const QString kPlain = QStringLiteral(QUILLNEST_VAULT_DATA "/plain/");
const QString kPage = QStringLiteral("pages/2026-12-08.dat");

// Where a flipped bit still opens: "byte:bit" for each, so none is the answer.
QStringList flipsThatOpen(const QByteArray &bytes, const std::function<bool(const QByteArray &)> &opens)
{
    QStringList opened;
    for (qsizetype i = 0; i < bytes.size() * 8; ++i) {
        if (opens(flipped(bytes, i / 8, int(i % 8))))
            opened.append(QStringLiteral("%1:%2").arg(i / 8).arg(i % 8));
    }
    return opened;
}

// What one sign-in showed and left.
struct Attempt
{
    bool in = false;
    bool ended = false;
    std::shared_ptr<Vault> opened;
    QList<ScriptedDialogs::Shown> shown;
};

class ReferenceDiary : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::copy(QUILLNEST_VAULT_REFERENCE, data.path().toStdString(), std::filesystem::copy_options::recursive);
        vault = openVault(root().passwordFile(), kPassword);
        ASSERT_TRUE(vault);
    }
    // The cheap limits again, whatever policy a test set.
    void TearDown() override { useCheapKeyDerivation(); }

    DataRoot root() const { return DataRoot(data.path(), vault); }
    QString path(const QString &relative) const { return data.path() + u'/' + relative; }
    std::optional<QByteArray> load(const QString &relative) const
    {
        const QString file = path(relative);
        return relative.startsWith(QLatin1String("dates/")) ? notestore::loadFile(root(), file) : pagestore::loadFile(root(), file);
    }
    QStringList searchFor(QStringView term) const
    {
        return searchPages(root().pagesDir(), QDir(root().pagesDir()).entryList(QDir::Files, QDir::Name), term, vault.get());
    }
    Attempt signIn(const Answers &answers) const
    {
        ScriptedDialogs dialogs;
        RecordingProgram program;
        script(dialogs, answers);
        std::shared_ptr<Vault> opened;
        return Attempt{SignIn(root().passwordFile(), dialogs, program, &opened), program.ended(), opened, dialogs.shown()};
    }
    bool opensAPage(const std::shared_ptr<Vault> &opened) const
    {
        return opened && pagestore::load(DataRoot(data.path(), opened), QDate(2026, 11, 30)) == readBytes(kPlain + "pages/2026-11-30.dat");
    }

    TestDataRoot data;
    std::shared_ptr<Vault> vault;
};

} // namespace

TEST_F(ReferenceDiary, EveryPageNoteAndVersionReadsBackExactlyAndADamagedMovedOrForeignFileIsRefused)
{
    EXPECT_EQ(QDir(root().pagesDir()).entryList(QDir::Files), QDir(kPlain + "pages").entryList(QDir::Files));
    for (const auto &[name, bytes] : snapshot(kPlain))
        EXPECT_TRUE(name.endsWith(u'/') || name.startsWith(u"history") || load(name) == bytes) << name.toStdString();

    const QString day = root().pagePath(QStringLiteral("2026-12-08"));
    const auto versions = history::versions(root(), day);
    ASSERT_EQ(versions.size(), 1);
    // A version opens only as its page.
    EXPECT_EQ(std::tuple(versions[0].id, pagestore::loadFile(root(), versions[0].path, day), pagestore::loadFile(root(), versions[0].path), searchFor(u"harbour")),
              std::tuple(QStringLiteral("20261207-213000-000"), readBytes(kPlain + "history/2026-12-08.dat"), std::nullopt, QStringList({"2026-12-08.dat"})));

    // Every bit of a sealed page and note flipped; on disk, through the stores,
    // every other way a file can be wrong, each refused without a change to the folder.
    for (const QString &relative : {kPage, QStringLiteral("dates/Dec-8.dat")})
        EXPECT_EQ(flipsThatOpen(readBytes(path(relative)), [&](const QByteArray &damaged) { return vault->open(damaged, relative).has_value(); }),
                  QStringList())
            << relative.toStdString();

    const QByteArray page = readBytes(path(kPage));
    const QByteArray note = readBytes(path(QStringLiteral("dates/Dec-8.dat")));
    const Vault other(keyslot::newMasterKey(), {});
    const auto foreign = other.seal(pagestore::encodePage(readBytes(kPlain + kPage).chopped(2)).value(), kPage);
    ASSERT_TRUE(foreign && other.open(*foreign, kPage));
    std::vector<std::tuple<std::string, QString, QByteArray>> damages{
        {"swapped", QStringLiteral("pages/2026-11-30.dat"), page},
        {"swapped", kPage, readBytes(path(QStringLiteral("pages/2026-11-30.dat")))},
        {"under another day", QStringLiteral("pages/2026-12-09.dat"), page},
        {"note under another day", QStringLiteral("dates/Dec-9.dat"), note},
        {"note as a page", QStringLiteral("pages/2026-12-10.dat"), note},
        {"from another diary", kPage, *foreign},
    };
    for (const qsizetype length : std::initializer_list<qsizetype>{0, 1, 3, 4, 28, 43, 44, page.size() - 1})
        damages.emplace_back("length " + std::to_string(length), kPage, page.left(length));
    for (const auto &[why, relative, bytes] : damages) {
        const QByteArray kept = readBytes(path(relative));
        data.writeFile(relative, bytes);
        const Snapshot before = snapshot(data.path());
        EXPECT_TRUE(!load(relative) && (relative != kPage || searchFor(u"harbour").isEmpty())) << why;
        EXPECT_EQ(differences(before, snapshot(data.path())), "") << why;
        QFile::remove(path(relative));
        if (!kept.isNull())
            data.writeFile(relative, kept);
    }
}

// Not a near miss, nor the password typed in Latin-1 rather than UTF-8, nor a
// slot with any one bit flipped; sign-in asks masked and changes nothing when
// refused. A password file from before the second copy of the slot gains it
// silently; one bit flipped in either copy, wherever it lands, costs nothing:
// the other copy opens the diary, replaces the damaged one and the user is told
// once. A slot that cannot be read is named without asking for a password.
TEST_F(ReferenceDiary, OnlyItsPasswordOpensTheSlotEitherCopyOfWhichMendsTheOtherAndADamagedOneIsNamed)
{
    const QByteArray line = firstLine(root().passwordFile());
    for (const SecretBytes &wrong : {keyslot::passwordBytes(QString()), keyslot::passwordBytes(u"Schl\u00fcssel zum Tagebuc"),
                                     keyslot::passwordBytes(u"Schl\u00fcssel zum Tagebucg"), keyslot::passwordBytes(u"schl\u00fcssel zum Tagebuch"),
                                     keyslot::passwordBytes(u"Schl\u00fcssel zum Tagebuch "), keyslot::passwordBytes(u"Schlussel zum Tagebuch"),
                                     SecretBytes(QByteArrayView("Schl\xfcssel zum Tagebuch"))})
        EXPECT_FALSE(keyslot::unwrap(*keyslot::parse(line), wrong)) << wrong.size() << " bytes";
    EXPECT_TRUE(opensAPage(openVault(root().passwordFile(), QStringLiteral(u"Schlu\u0308ssel zum Tagebuch")))) << "decomposed";
    EXPECT_EQ(flipsThatOpen(line, [](const QByteArray &damaged) {
                  const auto slot = keyslot::parse(damaged);
                  return slot && keyslot::unwrap(*slot, keyslot::passwordBytes(kPassword));
              }),
              QStringList());

    const Attempt right = signIn({kPassword});
    EXPECT_TRUE(right.in && !right.ended && opensAPage(right.opened) && right.shown.size() == 1 && right.shown[0].echo == Dialogs::Echo::Masked);
    const QByteArray whole = keyslot::fileBytes(line);
    ASSERT_EQ(readBytes(root().passwordFile()), whole);
    EXPECT_EQ(keyslot::copies(whole), QList<QByteArray>({line, line}));
    const Snapshot before = snapshot(data.path());
    const Attempt wrong = signIn({QStringLiteral("Schluessel zum Tagebuch"), Button::Ok});
    EXPECT_EQ(std::tuple(wrong.in, wrong.ended, bool(wrong.opened), wrong.shown.mid(1), differences(before, snapshot(data.path()))),
              std::tuple(false, true, false, QList{ScriptedDialogs::shownBox(messages::wrongPassword())}, std::string()));

    const QList mended{ScriptedDialogs::shownBox(messages::keySlotMended())};
    for (const qsizetype at : {qsizetype(0), line.indexOf("ops=") + 4, line.indexOf("salt=") + 7, line.indexOf("nonce=") + 9,
                               line.indexOf("key=") + 20, line.size() - 1, line.size()}) {
        for (const qsizetype copy : {qsizetype(0), keyslot::kSecondCopyAt}) {
            data.writeFile(QStringLiteral("pw.dat"), flipped(whole, copy + at, 0));
            const Attempt attempt = signIn({kPassword, Button::Ok});
            EXPECT_TRUE(attempt.in && opensAPage(attempt.opened) && attempt.shown.mid(1) == mended && readBytes(root().passwordFile()) == whole)
                << at << " in the copy at " << copy;
        }
    }

    // Every bit of the first copy, tried first: a flip that leaves it readable
    // under another salt or limits costs a second key derivation, no more.
    QStringList lost;
    const QByteArray page = readBytes(path(kPage));
    QFile file(root().passwordFile());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    for (qsizetype bit = 0; bit < (line.size() + 2) * 8; ++bit) {
        // In place: ext4 flushes a file rewritten after truncation at once.
        file.seek(bit / 8);
        file.write(flipped(whole, bit / 8, int(bit % 8)).sliced(bit / 8, 1));
        file.flush();
        const auto opened = KeySlotFile(root().passwordFile()).open(keyslot::passwordBytes(kPassword));
        if (!opened || !sealing::open(opened->key, page, kPage))
            lost.append(QStringLiteral("%1:%2").arg(bit / 8).arg(bit % 8));
        file.seek(bit / 8);
        file.write(whole.sliced(bit / 8, 1));
    }
    file.close();
    EXPECT_EQ(lost, QStringList());
    ASSERT_EQ(readBytes(root().passwordFile()), whole);

    for (const QByteArray &damaged : {line.chopped(4), QByteArray(line).replace(" ops=1 ", " ops=0 "),
                                      QByteArray(line).replace("salt=", "salt=A"), line + " extra"}) {
        data.writeFile(QStringLiteral("pw.dat"), damaged + "\r\n");
        const Snapshot tampered = snapshot(data.path());
        const Attempt unread = signIn({Button::Ok});
        // No password is asked for it.
        EXPECT_EQ(std::tuple(unread.in, unread.ended, bool(unread.opened), unread.shown, differences(tampered, snapshot(data.path()))),
                  std::tuple(false, true, false, QList{ScriptedDialogs::shownBox(messages::damagedKeySlot())}, std::string()))
            << damaged.toStdString();
    }
}

// An old password's slot beside the current one (left by a sync program or
// planted) never replaces it: pw.dat is mended only from a key that opens
// the diary's sealed files, or, in a diary with none yet, only where the
// other copy cannot be read. A key that opens none is a wrong password, and
// copies that differ and both refuse say the file may be damaged.
TEST_F(ReferenceDiary, AnOldPasswordsSlotNeverReplacesTheCurrentOneAndAKeyThatOpensNoSealedFileIsRefused)
{
    signIn({kPassword});
    const QByteArray current = firstLine(root().passwordFile());
    const QString oldPassword = QStringLiteral("an older password");
    const QByteArray old = keyslot::format(*keyslot::make(keyslot::newMasterKey(), keyslot::passwordBytes(oldPassword),
                                                          keyslot::parse(current)->limits));
    const QByteArray unreadable = current.chopped(4);
    const QByteArray otherSalt = flipped(current, current.indexOf("salt=") + 7, 0);
    ASSERT_TRUE(keyslot::parse(otherSalt)) << "a flip that leaves the copy readable";
    // The copy with one letter of its key changed, still readable.
    const auto keyChanged = [&](qsizetype at) { at += current.indexOf("key="); return QByteArray(current).replace(at, 1, current[at] == 'A' ? "B" : "A"); };
    const auto twoCopies = [](const QByteArray &first, const QByteArray &second) {
        return keyslot::fileBytes(first).left(keyslot::kSecondCopyAt) + second + "\r\n";
    };
    const auto box = [](const messages::Box &shown) { return QList{ScriptedDialogs::shownBox(shown)}; };
    const auto refused = box(messages::wrongPasswordOrDamage());
    // Whether the diary has sealed files, the two copies, the password typed, whether it signs in, what it shows and whether pw.dat is mended.
    using Row = std::tuple<bool, QByteArray, QByteArray, QString, bool, QList<ScriptedDialogs::Shown>, bool>;
    const Row rows[] = {
        {true, current, old, oldPassword, false, refused, false},
        {true, old, current, oldPassword, false, refused, false},
        {true, old, old, oldPassword, false, box(messages::wrongPassword()), false},
        {true, old, current, kPassword, false, refused, false},
        {true, keyChanged(10), keyChanged(12), kPassword, false, refused, false},
        {true, current, old, kPassword, true, box(messages::keySlotMended()), true},
        {true, otherSalt, current, kPassword, true, box(messages::keySlotMended()), true},
        {true, unreadable, current, kPassword, true, box(messages::keySlotMended()), true},
        {false, current, old, oldPassword, false, refused, false},
        {false, old, current, oldPassword, true, {}, false},
        {false, current, otherSalt, kPassword, true, {}, false},
        {false, current, unreadable, kPassword, true, box(messages::keySlotMended()), true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(&row - rows);
        const auto &[sealed, first, second, typed, in, shown, mended] = row;
        if (!sealed) {
            for (const char *folder : {"pages", "dates", "history"})
                QDir(path(QString::fromLatin1(folder))).removeRecursively();
        }
        const QByteArray planted = twoCopies(first, second);
        data.writeFile(QStringLiteral("pw.dat"), planted);
        const Attempt attempt = signIn(shown.isEmpty() ? Answers{typed} : Answers{typed, Button::Ok});
        EXPECT_EQ(std::tuple(attempt.in, attempt.shown.mid(1), readBytes(root().passwordFile())),
                  std::tuple(in, shown, mended ? keyslot::fileBytes(current) : planted));
        EXPECT_TRUE(!sealed || !in || opensAPage(attempt.opened));
    }
}

TEST_F(ReferenceDiary, KeySlotLimitsOutsideThePolicyAreRefusedAndLoweredOnesFailTheTag)
{
    const KdfPolicy product = productPolicy();
    EXPECT_TRUE(product.ceiling.ops <= 16u && product.ceiling.memory <= std::size_t(256) << 20 && product.ceiling.ops >= product.floor.ops)
        << "a slot may not ask more than about ten seconds";

    setKdfPolicy({{2, 16384}, {64, std::size_t(1) << 30}, [] { return KdfLimits{3, 32768}; }});
    EXPECT_FALSE(keyslot::parse(firstLine(root().passwordFile()))) << "the reference slot costs less than this floor";
    const SecretBytes password = keyslot::passwordBytes(kPassword);
    const QByteArray line = keyslot::format(vault->slotFor(password, {3, 32768}).value());
    ASSERT_TRUE(keyslot::parse(line) && keyslot::unwrap(*keyslot::parse(line), password));
    const auto edited = [&](const char *from, const char *to) { return QByteArray(line).replace(from, to); };
    // Below the floor, and above the ceiling.
    EXPECT_FALSE(keyslot::parse(edited(" ops=3 ", " ops=1 ")) || keyslot::parse(edited(" mem=32768 ", " mem=8192 ")) || keyslot::parse(edited(" ops=3 ", " ops=65 ")));
    EXPECT_TRUE(keyslot::parse(edited(" ops=3 ", " ops=64 ")) && keyslot::parse(edited(" mem=32768 ", " mem=1073741824 ")))
        << "at the ceiling";
    for (const auto &[from, to] : {std::pair{" ops=3 ", " ops=2 "}, std::pair{" mem=32768 ", " mem=16384 "}}) {
        const auto lowered = keyslot::parse(edited(from, to));
        EXPECT_TRUE(lowered && !keyslot::unwrap(*lowered, password)) << to;
    }
}
