#include "vaulttest.h"
#include "vault/passwordpolicy.h"

// Figures from knownanswers.py, which computes them with PyNaCl and
// argon2-cffi from the stored formats alone.
namespace {

using namespace vaulttest;

const QString kPassword = QStringLiteral(u"P\u00e4sswort-Quill");
const QString kName = QStringLiteral("pages/2026-12-08.dat");
constexpr QByteArrayView kPlain = "Vault known answer\r\n";

// The script's lines: the key slot line, then the sealed file in hex.
const QList<QByteArray> kAnswers = readBytes(QStringLiteral(QUILLNEST_VAULT_DATA "/knownanswers.txt")).split('\n');

} // namespace

// The key slot line and the sealed file are the independently computed ones; the slot unwraps back and the
// file opens only under its name.
TEST(KnownAnswers, KeySlotLineAndSealedFileAreTheIndependentlyComputedOnes)
{
    const auto slot = keyslot::wrap(SecretBytes(counting(0x00, 32)), keyslot::passwordBytes(kPassword), {1, 8192}, counting(0xa0, 16),
                                    counting(0xb0, 24));
    EXPECT_EQ(keyslot::format(slot.value()), kAnswers.value(0));
    const auto parsed = keyslot::parse(kAnswers.value(0));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(keyslot::format(*parsed), kAnswers.value(0));
    const SecretBytes key = keyslot::unwrap(*parsed, keyslot::passwordBytes(kPassword)).value();
    EXPECT_EQ(QByteArrayView(key.data(), qsizetype(key.size())), counting(0x00, 32));

    const SecretBytes fileKey(counting(0x40, 32));
    const QByteArray expected = QByteArray::fromHex(kAnswers.value(1));
    EXPECT_EQ(sealing::sealWith(fileKey, counting(0x60, 24), kPlain, kName).toHex(), kAnswers.value(1));
    EXPECT_EQ(sealing::open(fileKey, expected, kName), kPlain.toByteArray());
    EXPECT_FALSE(sealing::open(fileKey, expected, QStringLiteral("pages/2026-12-09.dat")) || sealing::open(fileKey, expected, kName.mid(6))
                 || sealing::open(SecretBytes(counting(0x41, 32)), expected, kName));

    // The vault seals with a fresh nonce each time, and opens its own and the known bytes alike.
    Vault vault(SecretBytes(counting(0x40, 32)), {});
    const QByteArray first = vault.seal(kPlain, kName).value();
    EXPECT_NE(first.mid(4, 24), vault.seal(kPlain, kName).value().mid(4, 24));
    EXPECT_TRUE(vault.open(first, kName) == kPlain.toByteArray() && vault.open(expected, kName) == kPlain.toByteArray());
    EXPECT_EQ(vault.open(vault.seal({}, kName).value(), kName), QByteArray()) << "an empty file seals and opens too";
}

// The guesses every cracking list starts with are refused; passphrases of several words pass.
TEST(PasswordRules, RefuseNamesAndAWordWithAYearOrSignsGluedOn)
{
    for (const char *password : {"P@ssw0rd", "Summer2026!", "quillnest", "Quillnest2026", "diary2026", "2026Sunshine", "Harbour#44"})
        EXPECT_TRUE(passwordpolicy::refusal(QString::fromLatin1(password), false, QStringLiteral("harbour notes"))) << password;
    for (const char *password : {"correct horse battery", "winter journal 7", "Xq7#pL9!vR", "zephyr-quokka-41"})
        EXPECT_EQ(passwordpolicy::refusal(QString::fromLatin1(password), false, QStringLiteral("harbour notes")), std::nullopt) << password;
}
