#include "keptfile.h"

#include "ancestry.h"
#include "safewrite.h"
#include "storedbytes.h"

#include <QFile>

namespace keptfile {

// The kept version names what replaced it, so the versions of a file form a lineage.
Outcome save(const DataRoot &root, const QString &file, QByteArrayView plain, history::Unkept unkept, QString *written)
{
    const auto bytes = storedbytes::forDisk(root, plain, file);
    if (!bytes)
        return storedbytes::locked();
    const QString id = ancestry::idOf(*bytes);
    Outcome saved = writeFileAtomically(file, *bytes, history::keeping(root, file, unkept, id));
    if (saved && written)
        *written = id;
    return saved;
}

Outcome remove(const DataRoot &root, const QString &file, history::Unkept unkept)
{
    if (const Outcome kept = history::keep(root, file, unkept); !kept)
        return kept;
    QFile stored(file);
    if (!stored.remove())
        return Outcome::failure(stored.errorString());
    return Outcome::success();
}

} // namespace keptfile
