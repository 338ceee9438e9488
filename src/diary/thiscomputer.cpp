#include "thiscomputer.h"

#include <QCryptographicHash>
#include <QSysInfo>

namespace thiscomputer {

QString id()
{
    static const QString hashed = QString::fromLatin1(
        QCryptographicHash::hash(QSysInfo::machineUniqueId(), QCryptographicHash::Sha256).toHex().left(8));
    return hashed;
}

} // namespace thiscomputer
