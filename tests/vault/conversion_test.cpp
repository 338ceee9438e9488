#include "vaulttest.h"

namespace {

using namespace vaulttest;
using diarytexts::page;

const QString kPassword = QStringLiteral("harbour lights 42");

// A plain diary with one of each kind of file, its pages' words rare enough
// that finding them in a stored file can only mean they were left readable.
class ConversionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const DataRoot &root = data.root();
        ASSERT_TRUE(pagestore::save(root, QDate(2026, 12, 4), page("Zanzibar trip planned")));
        ASSERT_TRUE(pagestore::save(root, QDate(2026, 12, 4), page("Zanzibar trip booked")));
        ASSERT_TRUE(pagestore::save(root, QDate(2026, 12, 5), page("Quiet day")));
        ASSERT_TRUE(notestore::save(root, daykeys::MonthDay{12, 4}, u"Quokka sighting"));
        ASSERT_TRUE(drafts::write(root, drafts::Kind::Page, QStringLiteral("2026-12-06"), page("Zanzibar draft")));
        ASSERT_TRUE(drafts::write(root, drafts::Kind::Note, QStringLiteral("Dec-6"), "Quokka draft"));
        data.writeFile(QStringLiteral("dates/todo.txt"), "Zanzibar: pack the Quokka book\n");
        data.writeFile(QStringLiteral("readme.txt"), "left alone\n");
        ASSERT_TRUE(passwordfile::write(root.passwordFile(), u"old-secret"));
        plain = snapshot(data.path());
    }

    // A new master key under the password, and its pw.dat line.
    static std::pair<std::shared_ptr<Vault>, QByteArray> newVault()
    {
        SecretBytes master = keyslot::newMasterKey();
        const auto slot = keyslot::make(master, keyslot::passwordBytes(kPassword), kdfPolicy().chooseForNewSlot());
        return {std::make_shared<Vault>(std::move(master), slot.value()), keyslot::format(slot.value())};
    }

    TestDataRoot data;
    Snapshot plain;
};

} // namespace

// A file that does not open stops a decrypt or a renewal before it changes
// anything; without it the renewed diary decrypts byte for byte.
TEST_F(ConversionTest, EncryptedDiaryHidesEveryWordRefusesAForeignFileAndDecryptsByteForByte)
{
    std::pair<int, int> last{0, 0};
    const auto [vault, slotLine] = newVault();
    const DataRoot root(data.path(), vault);
    ASSERT_TRUE(conversion::encrypt(DataRoot(data.path()), *vault, slotLine, [&](int done, int total) { last = {done, total}; }));
    EXPECT_EQ(last, std::make_pair(8, 8)) << "two pages, two dates files, a version, two drafts and pw.dat";

    const Snapshot encrypted = snapshot(data.path());
    ASSERT_EQ(encrypted.size(), plain.size());
    for (const auto &[name, bytes] : plain) {
        // A file outside the diary's folders is not the diary's.
        const qsizetype added = name == u"readme.txt" ? 0 : Vault::kOverhead;
        EXPECT_TRUE(name.endsWith(u'/') || name == u"pw.dat" || encrypted.at(name).size() == bytes.size() + added) << name.toStdString();
    }
    for (const char *word : {"Zanzibar", "Quokka"})
        EXPECT_EQ(fileHolding(encrypted, word) + fileHolding(encrypted, *ScrambleLine(word)), "") << word;
    EXPECT_TRUE(openVault(data.root().passwordFile(), kPassword)) << "the new pw.dat opens with the password";
    const QString day = root.pagePath(QStringLiteral("2026-12-04"));
    EXPECT_EQ(pagestore::loadFile(root, history::versions(root, day).value(0).path, day), page("Zanzibar trip planned") + "\r\n");
    const auto found = drafts::found(root);
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(pagestore::loadFile(root, found[0].path, drafts::storedFile(root, found[0])), page("Zanzibar draft") + "\r\n");
    EXPECT_EQ(notestore::loadFile(root, found[1].path, drafts::storedFile(root, found[1])), "Quokka draft");

    const auto [renewed, renewedSlotLine] = newVault();
    const QString foreign = data.path() + QStringLiteral("/pages/2026-12-07.dat");
    writeBytes(foreign, *renewed->seal(*pagestore::encodePage(page("Not ours")), QStringLiteral("pages/2026-12-07.dat")));
    const Snapshot before = snapshot(data.path());
    for (const Outcome &done : {conversion::decrypt(root, passwordfile::fileBytes(u"new-secret")),
                                conversion::rekey(root, *renewed, "quillnest-key of the other vault")}) {
        EXPECT_TRUE(!done && done.error().contains(QStringLiteral("pages/2026-12-07.dat")));
        EXPECT_EQ(differences(before, snapshot(data.path())), "");
        EXPECT_FALSE(QFileInfo::exists(data.path() + QStringLiteral("/.converting")));
    }
    QFile::remove(foreign);

    ASSERT_TRUE(conversion::rekey(root, *renewed, renewedSlotLine));
    EXPECT_EQ(firstLine(data.root().passwordFile()), renewedSlotLine);
    for (const auto &[name, bytes] : snapshot(data.path()))
        EXPECT_FALSE(vault->open(bytes, conversion::storedNameOf(name)) || vault->open(bytes, name)) << name.toStdString();
    const QByteArray givenPasswordFile = passwordfile::fileBytes(u"new-secret");
    const Outcome done = conversion::decrypt(DataRoot(data.path(), renewed), givenPasswordFile);
    ASSERT_TRUE(done) << done.error().toStdString();
    Snapshot expected = plain;
    expected[QStringLiteral("pw.dat")] = givenPasswordFile;
    EXPECT_EQ(differences(expected, snapshot(data.path())), "");
}
