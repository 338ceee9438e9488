#include "keptfile.h"

#include "storedbytes.h"

#include <QFile>

namespace keptfile {

Outcome save(const DataRoot &root, const QString &file, QByteArrayView plain, history::Unkept unkept)
{
    return storedbytes::write(root, file, plain, {}, history::keeping(root, file, unkept));
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
