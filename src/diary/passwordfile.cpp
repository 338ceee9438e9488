#include "passwordfile.h"

#include "diary/boundedfile.h"
#include "diary/codepage.h"
#include "diary/safewrite.h"
#include "diary/scramble.h"

namespace passwordfile {

namespace {
// The file is one line: a scrambled password or a key slot, both far smaller.
constexpr qint64 kLargestPasswordFile = qint64(64) << 10;
} // namespace

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
    const boundedfile::Contents file = boundedfile::read(path, kLargestPasswordFile);
    const auto lines = splitLines(file.bytes);
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
