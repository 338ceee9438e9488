#include "vaulttest.h"

// Figures from knownanswers.py, which computes them with PyNaCl and
// argon2-cffi from the stored formats alone.
namespace {

using namespace vaulttest;

constexpr QByteArrayView kSlotLine =
    "quillnest-key 1 argon2id13 ops=1 mem=8192 salt=oKGio6SlpqeoqaqrrK2urw== nonce=sLGys7S1tre4ubq7vL2+v8DBwsPExcbH "
    "key=1wFzUHVFU67x1ob9NwKn27jxo/qwZpDK3JhH7XNKTknVoKI5xpclK5loXAZC5RCr";
constexpr QByteArrayView kSealedHex =
    "514e5301606162636465666768696a6b6c6d6e6f7071727374757677c31f86090732884592c4595a3bacae9c9955a4bca6f22fd7a002b427c43b4436a51d0671";
const QString kPassword = QStringLiteral(u"P\u00e4sswort-Quill");
const QString kName = QStringLiteral("pages/2026-12-08.dat");
constexpr QByteArrayView kPlain = "Vault known answer\r\n";

QByteArray bytesOf(const SecretBytes &secret)
{
    return QByteArray(reinterpret_cast<const char *>(secret.data()), qsizetype(secret.size()));
}

} // namespace

TEST(KnownAnswers, KeySlotLineIsTheIndependentlyComputedOneAndUnwrapsBack)
{
    const SecretBytes master(counting(0x00, 32));
    const auto slot =
        keyslot::wrap(master, keyslot::passwordBytes(kPassword), {1, 8192}, counting(0xa0, 16), counting(0xb0, 24));
    ASSERT_TRUE(slot);
    EXPECT_EQ(keyslot::format(*slot), kSlotLine.toByteArray());

    const auto parsed = keyslot::parse(kSlotLine);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->limits, (KdfLimits{1, 8192}));
    EXPECT_EQ(parsed->salt, counting(0xa0, 16));
    EXPECT_EQ(parsed->nonce, counting(0xb0, 24));
    EXPECT_EQ(keyslot::format(*parsed), kSlotLine.toByteArray());
    const auto key = keyslot::unwrap(*parsed, keyslot::passwordBytes(kPassword));
    ASSERT_TRUE(key);
    EXPECT_EQ(bytesOf(*key), counting(0x00, 32));

    // The decomposed form of the same password is the same password.
    const auto decomposed = keyslot::unwrap(*parsed, keyslot::passwordBytes(u"Pa\u0308sswort-Quill"));
    ASSERT_TRUE(decomposed);
    EXPECT_EQ(bytesOf(*decomposed), counting(0x00, 32));
    EXPECT_FALSE(keyslot::unwrap(*parsed, keyslot::passwordBytes(u"Passwort-Quill")));
}

TEST(KnownAnswers, SealedFileIsTheIndependentlyComputedOneAndOpensOnlyUnderItsName)
{
    const SecretBytes key(counting(0x40, 32));
    const QByteArray expected = QByteArray::fromHex(kSealedHex.toByteArray());
    const QByteArray sealed = sealing::sealWith(key, counting(0x60, 24), kPlain, kName);
    EXPECT_EQ(sealed.toHex(), expected.toHex());
    EXPECT_EQ(sealed.size(), kPlain.size() + Vault::kOverhead);

    EXPECT_EQ(sealing::open(key, expected, kName), kPlain.toByteArray());
    EXPECT_FALSE(sealing::open(key, expected, QStringLiteral("pages/2026-12-09.dat")));
    EXPECT_FALSE(sealing::open(key, expected, QStringLiteral("2026-12-08.dat")));
    EXPECT_FALSE(sealing::open(SecretBytes(counting(0x41, 32)), expected, kName));

    // The vault seals with a fresh nonce each time, and opens its own and the known bytes alike.
    Vault vault(SecretBytes(counting(0x40, 32)), {});
    const auto first = vault.seal(kPlain, kName);
    const auto second = vault.seal(kPlain, kName);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first->mid(4, 24), second->mid(4, 24));
    EXPECT_EQ(vault.open(*first, kName), kPlain.toByteArray());
    EXPECT_EQ(vault.open(expected, kName), kPlain.toByteArray());
    EXPECT_EQ(vault.open(vault.seal({}, kName).value(), kName), QByteArray()) << "an empty file seals and opens too";
}
