#pragma once

#include "keyslot.h"
#include "secretbytes.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <shared_mutex>
#include <optional>

// The unlocked master key of an encrypted diary, and the sealing of every
// stored file with it. A sealed file is
//   "QNS" 0x01, a 24-byte random nonce, then XChaCha20-Poly1305 of the bytes
// a plain diary would store, with the four header bytes and the file's name
// relative to the data root ("pages/2026-12-08.dat") as associated data, so
// a file moved to another name, or taken from another diary, is refused.
class Vault
{
public:
    static constexpr qsizetype kOverhead = 4 + 24 + 16;

    // slot: the key slot the key came from, which unlocking asks again.
    Vault(SecretBytes masterKey, KeySlot slot);

    // Nothing once locked.
    std::optional<QByteArray> seal(QByteArrayView plain, const QString &name) const;
    // Nothing when locked, or when the bytes were not sealed under this name with this key.
    std::optional<QByteArray> open(QByteArrayView sealed, const QString &name) const;

    // A key slot for the same master key under another password.
    std::optional<KeySlot> slotFor(const SecretBytes &password, KdfLimits limits) const;
    // Takes renewed's key and slot once every file is sealed under them, so
    // whatever shares this vault seals with the new key and unlocking asks
    // the new slot.
    void adopt(Vault &&renewed);
    // True when the password opens the slot to this same key: asked again
    // before the diary's form or password changes.
    bool opensWith(const SecretBytes &password) const;

    // Wipes the key; unlock puts it back when the password opens the slot
    // it came from, so a key slot swapped in meanwhile opens nothing.
    void lock();
    bool unlock(const SecretBytes &password);
    bool isLocked() const;

private:
    KeySlot slot() const;

    // Sealing and opening only read the key, so the search's threads open
    // pages side by side; locking and unlocking wait for them.
    mutable std::shared_mutex m_mutex;
    std::optional<SecretBytes> m_key;
    KeySlot m_slot;
};

namespace sealing {
// The first bytes of every sealed file; a plain diary's bytes are shifted
// above CR, so none of its files begins with them.
inline constexpr QByteArrayView kHeader("QNS\x01", 4);
// The sealed bytes with a given nonce, so known answers can be checked.
QByteArray sealWith(const SecretBytes &key, QByteArrayView nonce, QByteArrayView plain, const QString &name);
std::optional<QByteArray> open(const SecretBytes &key, QByteArrayView sealed, const QString &name);
} // namespace sealing
