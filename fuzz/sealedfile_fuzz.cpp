#include "vault/keyslot.h"
#include "vault/vault.h"

#include <cstdint>
#include <cstdlib>

// Any bytes as an encrypted diary's key slot line, its pw.dat or a sealed file: refused
// unless whole, never a crash, and what opens was sealed by us.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    setKdfPolicy({{1, 8192}, {1, 8192}, [] { return KdfLimits{1, 8192}; }});
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto slot = keyslot::parse(bytes); slot && keyslot::format(*slot) != bytes)
        std::abort();
    // As a whole pw.dat: each copy is one line, and a line written twice reads back as two copies of it.
    for (const QByteArray &copy : keyslot::copies(bytes)) {
        if (copy.contains("\r\n") || copy.size() > bytes.size())
            std::abort();
    }
    if (!bytes.contains("\r\n") && bytes.size() < keyslot::kSecondCopyAt - 4
        && keyslot::copies(keyslot::fileBytes(bytes)) != QList<QByteArray>({bytes.toByteArray(), bytes.toByteArray()}))
        std::abort();

    static const SecretBytes key(QByteArrayView("0123456789abcdef0123456789abcdef"));
    const QString name = QStringLiteral("pages/2024-03-05.dat");
    if (sealing::open(key, bytes, name))
        std::abort();
    const QByteArray sealed = sealing::sealWith(key, QByteArrayView("nonce-nonce-nonce-nonce!"), bytes, name);
    if (sealing::open(key, sealed, name) != bytes.toByteArray() || sealing::open(key, sealed, QStringLiteral("pages/x.dat")))
        std::abort();
    return 0;
}
