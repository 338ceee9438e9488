#include "vault.h"

#include <sodium.h>

#include <mutex>

namespace {

constexpr QByteArrayView kSealHeader = sealing::kHeader;
constexpr qsizetype kNonceBytes = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;

QByteArray associatedData(const QString &name)
{
    return kSealHeader.toByteArray() + name.toUtf8();
}

const unsigned char *bytes(QByteArrayView view)
{
    return reinterpret_cast<const unsigned char *>(view.data());
}

} // namespace

namespace sealing {

QByteArray sealWith(const SecretBytes &key, QByteArrayView nonce, QByteArrayView plain, const QString &name)
{
    const QByteArray ad = associatedData(name);
    QByteArray sealed(kSealHeader.size() + kNonceBytes + plain.size() + crypto_aead_xchacha20poly1305_ietf_ABYTES,
                      Qt::Uninitialized);
    auto *out = reinterpret_cast<unsigned char *>(sealed.data());
    memcpy(out, kSealHeader.data(), size_t(kSealHeader.size()));
    memcpy(out + kSealHeader.size(), nonce.data(), size_t(kNonceBytes));
    crypto_aead_xchacha20poly1305_ietf_encrypt(out + kSealHeader.size() + kNonceBytes, nullptr, bytes(plain),
                                               size_t(plain.size()), bytes(ad), size_t(ad.size()), nullptr, bytes(nonce),
                                               key.data());
    return sealed;
}

std::optional<QByteArray> open(const SecretBytes &key, QByteArrayView sealed, const QString &name)
{
    if (sealed.size() < Vault::kOverhead || !sealed.startsWith(kSealHeader))
        return std::nullopt;
    const QByteArray ad = associatedData(name);
    const QByteArrayView nonce = sealed.sliced(kSealHeader.size(), kNonceBytes);
    const QByteArrayView cipher = sealed.sliced(kSealHeader.size() + kNonceBytes);
    QByteArray plain(cipher.size() - crypto_aead_xchacha20poly1305_ietf_ABYTES, Qt::Uninitialized);
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(reinterpret_cast<unsigned char *>(plain.data()), nullptr, nullptr,
                                                   bytes(cipher), size_t(cipher.size()), bytes(ad), size_t(ad.size()),
                                                   bytes(nonce), key.data())
        != 0)
        return std::nullopt;
    return plain;
}

} // namespace sealing

Vault::Vault(SecretBytes masterKey, KeySlot slot) : m_slot(std::move(slot))
{
    if (masterKey.size() == keyslot::kKeyBytes)
        m_key = std::move(masterKey);
}

std::optional<QByteArray> Vault::seal(QByteArrayView plain, const QString &name) const
{
    const std::shared_lock guard(m_mutex);
    if (!m_key || !sodiumReady())
        return std::nullopt;
    unsigned char nonce[kNonceBytes];
    randombytes_buf(nonce, sizeof nonce);
    return sealing::sealWith(*m_key, QByteArrayView(reinterpret_cast<const char *>(nonce), kNonceBytes), plain, name);
}

std::optional<QByteArray> Vault::open(QByteArrayView sealed, const QString &name) const
{
    const std::shared_lock guard(m_mutex);
    if (!m_key)
        return std::nullopt;
    return sealing::open(*m_key, sealed, name);
}

std::optional<KeySlot> Vault::slotFor(const SecretBytes &password, KdfLimits limits) const
{
    const std::shared_lock guard(m_mutex);
    if (!m_key)
        return std::nullopt;
    return keyslot::make(*m_key, password, limits);
}

void Vault::lock()
{
    const std::lock_guard guard(m_mutex);
    m_key.reset();
}

void Vault::adopt(Vault &&renewed)
{
    const std::scoped_lock guard(m_mutex, renewed.m_mutex);
    m_key = std::move(renewed.m_key);
    renewed.m_key.reset();
    m_slot = std::move(renewed.m_slot);
}

// A copy, so the slow key derivation runs without holding the lock.
KeySlot Vault::slot() const
{
    const std::shared_lock guard(m_mutex);
    return m_slot;
}

bool Vault::unlock(const SecretBytes &password)
{
    auto key = keyslot::unwrap(slot(), password);
    if (!key)
        return false;
    const std::lock_guard guard(m_mutex);
    m_key = std::move(*key);
    return true;
}

bool Vault::opensWith(const SecretBytes &password) const
{
    const auto key = keyslot::unwrap(slot(), password);
    const std::shared_lock guard(m_mutex);
    return key && m_key && key->size() == m_key->size() && sodium_memcmp(key->data(), m_key->data(), key->size()) == 0;
}

bool Vault::isLocked() const
{
    const std::shared_lock guard(m_mutex);
    return !m_key.has_value();
}
