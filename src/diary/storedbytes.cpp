#include "storedbytes.h"

#include "ancestry.h"
#include "boundedfile.h"
#include "safewrite.h"
#include "vault/vault.h"

namespace storedbytes {

namespace {
QString sealedName(const DataRoot &root, const QString &file, const QString &storedAs)
{
    return root.relativeName(storedAs.isEmpty() ? file : storedAs);
}
} // namespace

std::optional<QByteArray> read(const DataRoot &root, const QString &file, qint64 largest, const QString &storedAs,
                               QString *ancestryId)
{
    const qint64 limit = root.vault() ? largest + Vault::kOverhead : largest;
    boundedfile::Contents in = boundedfile::read(file, limit);
    if (!in)
        return std::nullopt;
    if (ancestryId)
        *ancestryId = ancestry::idOf(in.bytes);
    if (!root.vault())
        return std::move(in.bytes);
    return root.vault()->open(in.bytes, sealedName(root, file, storedAs));
}

Outcome locked()
{
    return Outcome::failure(QStringLiteral("The diary is locked."));
}

std::optional<QByteArray> forDisk(const DataRoot &root, QByteArrayView plain, const QString &storedAs)
{
    if (!root.vault())
        return plain.toByteArray();
    return root.vault()->seal(plain, root.relativeName(storedAs));
}

Outcome write(const DataRoot &root, const QString &file, QByteArrayView plain, const QString &storedAs,
              const BeforeReplacing &beforeReplacing)
{
    const auto bytes = forDisk(root, plain, storedAs.isEmpty() ? file : storedAs);
    if (!bytes)
        return locked();
    return writeFileAtomically(file, *bytes, beforeReplacing);
}

} // namespace storedbytes
