#include "notestore.h"

#include "codepage.h"
#include "safewrite.h"

#include <QFile>
#include <QFileInfo>

namespace notestore {

namespace {
constexpr QByteArrayView kLineEnd("\r\n");
constexpr QByteArrayView kUtf8Bom("\xEF\xBB\xBF");
}

std::optional<QByteArray> load(const DataRoot &root, const QString &noteKey)
{
    QFile file(root.notePath(noteKey));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (bytes.endsWith(kLineEnd))
        bytes.chop(kLineEnd.size());
    return bytes;
}

QByteArray encodeNote(QStringView text)
{
    QString lines = text.toString();
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    lines.replace(QChar(QChar::LineSeparator), QLatin1Char('\n'));
    lines.replace(QChar(QChar::ParagraphSeparator), QLatin1Char('\n'));
    lines.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    // A character with no Windows-1252 code is stored as "?": the format is single-byte.
    return codepage::encodeLossy(lines).append(kLineEnd);
}

QString decodeNote(QByteArrayView bytes)
{
    if (bytes.startsWith(kUtf8Bom))
        return QString::fromUtf8(bytes.sliced(kUtf8Bom.size()));
    return codepage::decode(bytes);
}

Outcome save(const DataRoot &root, const QString &noteKey, QStringView text)
{
    return writeFileAtomically(root.notePath(noteKey), encodeNote(text));
}

bool exists(const DataRoot &root, const QString &noteKey)
{
    return QFileInfo(root.notePath(noteKey)).isFile();
}

Outcome remove(const DataRoot &root, const QString &noteKey)
{
    QFile file(root.notePath(noteKey));
    if (!file.remove())
        return Outcome::failure(file.errorString());
    return Outcome::success();
}

} // namespace notestore
