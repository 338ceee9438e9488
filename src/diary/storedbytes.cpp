#include "storedbytes.h"

#include "safewrite.h"
#include "vault/vault.h"

#include <QFile>

namespace storedbytes {

namespace {
QString sealedName(const DataRoot &root, const QString &file, const QString &storedAs)
{
    return root.relativeName(storedAs.isEmpty() ? file : storedAs);
}
} // namespace

std::optional<QByteArray> read(const DataRoot &root, const QString &file, qint64 largest, const QString &storedAs)
{
    QFile in(file);
    const qint64 limit = root.vault() ? largest + Vault::kOverhead : largest;
    if (!in.open(QIODevice::ReadOnly) || in.size() > limit)
        return std::nullopt;
    QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return std::nullopt;
    if (!root.vault())
        return bytes;
    return root.vault()->open(bytes, sealedName(root, file, storedAs));
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
        return Outcome::failure(QStringLiteral("The diary is locked."));
    return writeFileAtomically(file, *bytes, beforeReplacing);
}

} // namespace storedbytes
