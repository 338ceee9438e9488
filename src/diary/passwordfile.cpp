#include "passwordfile.h"

#include "diary/codepage.h"
#include "diary/safewrite.h"
#include "diary/scramble.h"

#include <QFile>

namespace passwordfile {

QByteArray ScramblePassword(QStringView typed)
{
    // A character with no Windows-1252 code counts as "?": the file is single-byte.
    return ScrambleDroppingHigh(codepage::encodeLossy(typed));
}

bool keepsWhole(QStringView typed)
{
    const auto bytes = codepage::encodeExact(typed);
    return bytes && ScrambleLine(*bytes).has_value();
}

QByteArray noPasswordMarker()
{
    return ScramblePassword(u"none");
}

QByteArray readStored(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    const auto lines = splitLines(bytes);
    return lines.isEmpty() ? QByteArray() : lines.first().toByteArray();
}

QByteArray fileBytes(QStringView typed)
{
    return ScramblePassword(typed) + "\r\n";
}

Outcome write(const QString &path, QStringView typed)
{
    return writeFileAtomically(path, fileBytes(typed));
}

} // namespace passwordfile
