#include "vaulttest.h"

namespace {

using namespace vaulttest;
using diarytexts::page;

const QString kPassword = QStringLiteral("harbour lights 42");
const QStringList kPageNames{"2026-12-04.dat", "2026-12-05.dat"};

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
        ASSERT_EQ(history::versions(root, root.pagePath(QStringLiteral("2026-12-04"))).size(), 1);
        plain = snapshot(data.path());
    }

    // A new master key under the password; slotLine gets its pw.dat line.
    static std::shared_ptr<Vault> newVault(QByteArray &slotLine)
    {
        SecretBytes master = keyslot::newMasterKey();
        const auto slot = keyslot::make(master, keyslot::passwordBytes(kPassword), kdfPolicy().chooseForNewSlot());
        EXPECT_TRUE(slot);
        slotLine = slot ? keyslot::format(*slot) : QByteArray();
        return std::make_shared<Vault>(std::move(master), slot.value_or(KeySlot{}));
    }
    std::shared_ptr<Vault> encrypt(const QString &path, const conversion::Progress &progress = {})
    {
        QByteArray slotLine;
        auto vault = newVault(slotLine);
        const Outcome done = conversion::encrypt(DataRoot(path), *vault, slotLine, progress);
        EXPECT_TRUE(done) << done.error().toStdString();
        return vault;
    }

    TestDataRoot data;
    Snapshot plain;
};

} // namespace

TEST_F(ConversionTest, EncryptedDiaryHidesEveryWordReadsThroughItsKeyAndDecryptsByteForByte)
{
    std::pair<int, int> last{0, 0};
    const auto vault = encrypt(data.path(), [&](int done, int total) { last = {done, total}; });
    EXPECT_EQ(last, std::make_pair(8, 8)) << "two pages, two dates files, a version, two drafts and pw.dat";

    const Snapshot encrypted = snapshot(data.path());
    ASSERT_EQ(encrypted.size(), plain.size());
    for (const auto &[name, bytes] : plain) {
        ASSERT_TRUE(encrypted.contains(name)) << name.toStdString();
        if (name.endsWith(QLatin1Char('/')) || name == QLatin1String("pw.dat"))
            continue;
        if (name == QLatin1String("readme.txt")) {
            EXPECT_EQ(encrypted.at(name), bytes) << "a file outside the diary's folders is not the diary's";
            continue;
        }
        EXPECT_TRUE(encrypted.at(name).startsWith(QByteArrayView("QNS\x01", 4))) << name.toStdString();
        EXPECT_EQ(encrypted.at(name).size(), bytes.size() + Vault::kOverhead) << name.toStdString();
    }
    for (const char *word : {"Zanzibar", "Quokka"})
        EXPECT_EQ(fileHolding(encrypted, word) + fileHolding(encrypted, *ScrambleLine(word)), "") << word;
    EXPECT_TRUE(openVault(data.root().passwordFile(), kPassword)) << "the new pw.dat opens with the password";

    const DataRoot root(data.path(), vault);
    EXPECT_EQ(pagestore::load(root, QDate(2026, 12, 4)), page("Zanzibar trip booked") + "\r\n");
    EXPECT_EQ(pagestore::load(root, QDate(2026, 12, 5)), page("Quiet day") + "\r\n");
    EXPECT_EQ(notestore::load(root, daykeys::MonthDay{12, 4}), "Quokka sighting");
    const QString day = root.pagePath(QStringLiteral("2026-12-04"));
    const auto versions = history::versions(root, day);
    ASSERT_EQ(versions.size(), 1);
    EXPECT_EQ(pagestore::loadFile(root, versions[0].path, day), page("Zanzibar trip planned") + "\r\n");
    const auto found = drafts::found(root);
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(pagestore::loadFile(root, found[0].path, drafts::storedFile(root, found[0])), page("Zanzibar draft") + "\r\n");
    EXPECT_EQ(notestore::loadFile(root, found[1].path, drafts::storedFile(root, found[1])), "Quokka draft");
    EXPECT_EQ(searchPages(root.pagesDir(), kPageNames, u"Zanzibar", vault.get()), QStringList({"2026-12-04.dat"}));

    // Renewed, no file opens with the old key, and each still decrypts byte for byte.
    QByteArray slotLine;
    const auto renewed = newVault(slotLine);
    ASSERT_TRUE(conversion::rekey(root, *renewed, slotLine));
    EXPECT_EQ(firstLine(data.root().passwordFile()), slotLine);
    for (const auto &[name, bytes] : snapshot(data.path()))
        EXPECT_FALSE(vault->open(bytes, conversion::storedNameOf(name)) || vault->open(bytes, name)) << name.toStdString();
    const QByteArray givenPasswordFile = passwordfile::fileBytes(u"new-secret");
    const Outcome done = conversion::decrypt(DataRoot(data.path(), renewed), givenPasswordFile);
    ASSERT_TRUE(done) << done.error().toStdString();
    Snapshot expected = plain;
    expected[QStringLiteral("pw.dat")] = givenPasswordFile;
    EXPECT_EQ(differences(expected, snapshot(data.path())), "");
}

TEST_F(ConversionTest, DecryptOrRenewalMeetingAFileThatDoesNotOpenLeavesTheEncryptedDiaryAsItWas)
{
    const auto vault = encrypt(data.path());
    const Vault other(keyslot::newMasterKey(), {});
    writeBytes(data.path() + QStringLiteral("/pages/2026-12-07.dat"),
               *other.seal(*pagestore::encodePage(page("Not ours")), QStringLiteral("pages/2026-12-07.dat")));
    const Snapshot before = snapshot(data.path());
    const DataRoot root(data.path(), vault);
    const std::function<Outcome()> conversions[] = {
        [&] { return conversion::decrypt(root, passwordfile::fileBytes(u"new-secret")); },
        [&] { return conversion::rekey(root, other, "quillnest-key of the other vault"); },
    };
    for (const auto &convert : conversions) {
        const Outcome done = convert();
        EXPECT_FALSE(done);
        EXPECT_TRUE(done.error().contains(QStringLiteral("pages/2026-12-07.dat"))) << done.error().toStdString();
        EXPECT_EQ(differences(before, snapshot(data.path())), "");
        EXPECT_FALSE(QFileInfo::exists(data.path() + QStringLiteral("/.converting")));
    }
}
