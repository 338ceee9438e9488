#include "keyslot.h"

#include <sodium.h>

#include <QList>
#include <QString>

#include <algorithm>

namespace keyslot {

namespace {

constexpr QByteArrayView kHeader("quillnest-key 1 argon2id13");

QByteArray associatedData(const KeySlot &slot)
{
    return kHeader.toByteArray() + " ops=" + QByteArray::number(slot.limits.ops) + " mem="
        + QByteArray::number(quint64(slot.limits.memory)) + " salt=" + slot.salt.toBase64() + " nonce=" + slot.nonce.toBase64();
}

std::optional<QByteArray> field(QByteArrayView part, QByteArrayView name)
{
    if (!part.startsWith(name) || part.size() == name.size())
        return std::nullopt;
    return part.sliced(name.size()).toByteArray();
}

std::optional<unsigned long long> number(QByteArrayView part, QByteArrayView name)
{
    const auto text = field(part, name);
    bool ok = false;
    const qulonglong value = text ? text->toULongLong(&ok) : 0;
    // Only the one way format writes a number, so a slot has one spelling.
    return ok && QByteArray::number(value) == *text ? std::optional<unsigned long long>(value) : std::nullopt;
}

std::optional<QByteArray> base64(QByteArrayView part, QByteArrayView name, qsizetype size)
{
    const auto text = field(part, name);
    if (!text)
        return std::nullopt;
    const auto decoded = QByteArray::fromBase64Encoding(*text, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != size || decoded.decoded.toBase64() != *text)
        return std::nullopt;
    return decoded.decoded;
}

bool within(const KdfLimits &limits, const KdfPolicy &policy)
{
    return limits.ops >= policy.floor.ops && limits.memory >= policy.floor.memory && limits.ops <= policy.ceiling.ops
        && limits.memory <= policy.ceiling.memory;
}

} // namespace

QByteArray fileBytes(QByteArrayView line)
{
    QByteArray bytes = line.toByteArray() + "\r\n";
    bytes += QByteArray(kSecondCopyAt - bytes.size() - 2, ' ') + "\r\n";
    return bytes.append(line).append("\r\n");
}

QByteArray lineAt(QByteArrayView block)
{
    const qsizetype end = block.indexOf("\r\n");
    return (end < 0 ? block : block.first(end)).toByteArray();
}

QList<QByteArray> copies(QByteArrayView file)
{
    QList<QByteArray> lines{lineAt(file.first(std::min(file.size(), kSecondCopyAt)))};
    if (file.size() > kSecondCopyAt)
        lines.append(lineAt(file.sliced(kSecondCopyAt)));
    return lines;
}

bool isKeySlot(QByteArrayView firstLine)
{
    return firstLine.startsWith("quillnest-key ");
}

std::optional<KeySlot> parse(QByteArrayView line)
{
    if (!line.startsWith(kHeader))
        return std::nullopt;
    const QList<QByteArray> parts = line.sliced(kHeader.size()).toByteArray().split(' ');
    if (parts.size() != 6 || !parts[0].isEmpty())
        return std::nullopt;
    const auto ops = number(parts[1], "ops=");
    const auto memory = number(parts[2], "mem=");
    auto salt = base64(parts[3], "salt=", crypto_pwhash_SALTBYTES);
    auto nonce = base64(parts[4], "nonce=", crypto_aead_xchacha20poly1305_ietf_NPUBBYTES);
    auto wrapped = base64(parts[5], "key=", kKeyBytes + crypto_aead_xchacha20poly1305_ietf_ABYTES);
    if (!ops || !memory || !salt || !nonce || !wrapped)
        return std::nullopt;
    KeySlot slot{{*ops, static_cast<std::size_t>(*memory)}, std::move(*salt), std::move(*nonce), std::move(*wrapped)};
    if (!within(slot.limits, kdfPolicy()))
        return std::nullopt;
    return slot;
}

QByteArray format(const KeySlot &slot)
{
    return associatedData(slot) + " key=" + slot.wrapped.toBase64();
}

SecretBytes passwordBytes(QStringView typed)
{
    QString composed = typed.toString().normalized(QString::NormalizationForm_C);
    QByteArray utf8 = composed.toUtf8();
    SecretBytes bytes(utf8);
    sodium_memzero(utf8.data(), size_t(utf8.size()));
    sodium_memzero(composed.data(), size_t(composed.size()) * sizeof(QChar));
    return bytes;
}

SecretBytes newMasterKey()
{
    SecretBytes key(kKeyBytes);
    if (key.isValid())
        crypto_aead_xchacha20poly1305_ietf_keygen(key.data());
    return key;
}

std::optional<KeySlot> make(const SecretBytes &masterKey, const SecretBytes &password, KdfLimits limits)
{
    if (!sodiumReady())
        return std::nullopt;
    QByteArray salt(crypto_pwhash_SALTBYTES, Qt::Uninitialized);
    QByteArray nonce(crypto_aead_xchacha20poly1305_ietf_NPUBBYTES, Qt::Uninitialized);
    randombytes_buf(salt.data(), size_t(salt.size()));
    randombytes_buf(nonce.data(), size_t(nonce.size()));
    return wrap(masterKey, password, limits, salt, nonce);
}

std::optional<KeySlot> wrap(const SecretBytes &masterKey, const SecretBytes &password, KdfLimits limits,
                            const QByteArray &salt, const QByteArray &nonce)
{
    if (!sodiumReady() || masterKey.size() != kKeyBytes || !password.isValid() || salt.size() != crypto_pwhash_SALTBYTES
        || nonce.size() != crypto_aead_xchacha20poly1305_ietf_NPUBBYTES)
        return std::nullopt;
    KeySlot slot{limits, salt, nonce, QByteArray(qsizetype(kKeyBytes + crypto_aead_xchacha20poly1305_ietf_ABYTES), '\0')};
    const auto key = passwordKey(slot, password);
    if (!key)
        return std::nullopt;
    const QByteArray ad = associatedData(slot);
    crypto_aead_xchacha20poly1305_ietf_encrypt(reinterpret_cast<unsigned char *>(slot.wrapped.data()), nullptr,
                                               masterKey.data(), masterKey.size(),
                                               reinterpret_cast<const unsigned char *>(ad.constData()), size_t(ad.size()),
                                               nullptr, reinterpret_cast<const unsigned char *>(nonce.constData()),
                                               key->data());
    return slot;
}

bool sameDerivation(const KeySlot &a, const KeySlot &b)
{
    return a.salt == b.salt && a.limits == b.limits;
}

std::optional<SecretBytes> passwordKey(const KeySlot &slot, const SecretBytes &password)
{
    SecretBytes key(kKeyBytes);
    if (!sodiumReady() || !password.isValid() || !key.isValid()
        || crypto_pwhash(key.data(), key.size(), reinterpret_cast<const char *>(password.data()), password.size(),
                         reinterpret_cast<const unsigned char *>(slot.salt.constData()), slot.limits.ops,
                         slot.limits.memory, crypto_pwhash_ALG_ARGON2ID13)
            != 0)
        return std::nullopt;
    return key;
}

std::optional<SecretBytes> unwrap(const KeySlot &slot, const SecretBytes &password)
{
    const auto key = passwordKey(slot, password);
    return key ? unwrapWith(slot, *key) : std::nullopt;
}

std::optional<SecretBytes> unwrapWith(const KeySlot &slot, const SecretBytes &derived)
{
    SecretBytes master(kKeyBytes);
    if (derived.size() != kKeyBytes || !master.isValid())
        return std::nullopt;
    const QByteArray ad = associatedData(slot);
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(master.data(), nullptr, nullptr,
                                                   reinterpret_cast<const unsigned char *>(slot.wrapped.constData()),
                                                   size_t(slot.wrapped.size()),
                                                   reinterpret_cast<const unsigned char *>(ad.constData()),
                                                   size_t(ad.size()),
                                                   reinterpret_cast<const unsigned char *>(slot.nonce.constData()),
                                                   derived.data())
        != 0)
        return std::nullopt;
    return master;
}

} // namespace keyslot
