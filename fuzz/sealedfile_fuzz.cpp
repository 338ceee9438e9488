#include "vault/keyslot.h"
#include "vault/vault.h"

#include <cstdint>
#include <cstdlib>

// Any bytes as an encrypted diary's key slot line or sealed file: refused
// unless whole, never a crash, and what opens was sealed by us.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    setKdfPolicy({{1, 8192}, {1, 8192}, [] { return KdfLimits{1, 8192}; }});
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (const auto slot = keyslot::parse(bytes); slot && keyslot::format(*slot) != bytes)
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
