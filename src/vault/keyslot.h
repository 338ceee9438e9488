#pragma once

#include "kdfpolicy.h"
#include "secretbytes.h"

#include <QByteArray>
#include <QList>
#include <QStringView>

#include <optional>

// The encrypted diary's key slot: one line of text,
//   quillnest-key 1 argon2id13 ops=N mem=BYTES salt=B64 nonce=B64 key=B64
// where key is the diary's master key sealed with XChaCha20-Poly1305 under
// the Argon2id key of the password, everything before " key=" being its
// associated data. A wrong password, like a changed limit or salt, fails the
// seal's tag; nothing else derived from the password is kept.
struct KeySlot
{
    KdfLimits limits;
    QByteArray salt;
    QByteArray nonce;
    QByteArray wrapped;
};

namespace keyslot {

inline constexpr std::size_t kKeyBytes = 32;

// pw.dat holds the slot line twice, each followed by CR LF: at its start and
// again at byte kSecondCopyAt, a line of spaces filling the gap. The copies
// never share a 4 KiB block of the disk, so one damaged block leaves the
// other whole, and whatever reads only the first line sees what it always saw.
inline constexpr qsizetype kSecondCopyAt = 4096;
QByteArray fileBytes(QByteArrayView line);
// The line at the start of pw.dat's bytes, and the one at kSecondCopyAt when
// the file reaches it (one written before there were two copies does not).
QList<QByteArray> copies(QByteArrayView file);
// The line a block of pw.dat starts with.
QByteArray lineAt(QByteArrayView block);

// True when pw.dat's first line is a key slot rather than a scrambled
// password: a scrambled password never holds a space.
bool isKeySlot(QByteArrayView firstLine);

// Nothing when the line is damaged or its limits are outside the policy.
std::optional<KeySlot> parse(QByteArrayView line);
QByteArray format(const KeySlot &slot);

// The typed password as the key derivation takes it: UTF-8, composed (NFC)
// so the same password typed another way opens the same diary.
SecretBytes passwordBytes(QStringView typed);

// A new random master key.
SecretBytes newMasterKey();

// Wraps the master key with a fresh salt and nonce; nothing when out of memory.
std::optional<KeySlot> make(const SecretBytes &masterKey, const SecretBytes &password, KdfLimits limits);
// The same with a given salt and nonce, so known answers can be checked.
std::optional<KeySlot> wrap(const SecretBytes &masterKey, const SecretBytes &password, KdfLimits limits,
                            const QByteArray &salt, const QByteArray &nonce);

// The master key, or nothing for a wrong password.
std::optional<SecretBytes> unwrap(const KeySlot &slot, const SecretBytes &password);

// unwrap in its two steps, so slots sharing a salt and limits pay for the
// costly one, the password's key, once.
bool sameDerivation(const KeySlot &a, const KeySlot &b);
std::optional<SecretBytes> passwordKey(const KeySlot &slot, const SecretBytes &password);
std::optional<SecretBytes> unwrapWith(const KeySlot &slot, const SecretBytes &derived);

} // namespace keyslot
