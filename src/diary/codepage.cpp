#include "codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace codepage {

QString decode(QByteArrayView bytes)
{
    QStringDecoder decoder(kName);
    return decoder.decode(bytes);
}

QString decodeText(QByteArrayView bytes)
{
    // Only a byte-order mark decides: any byte sequence is Windows-1252 text.
    const auto marked = QStringConverter::encodingForData(bytes);
    if (!marked)
        return decode(bytes);
    QStringDecoder decoder(*marked);
    return decoder.decode(bytes);
}

std::optional<QByteArray> encodeExact(QStringView text)
{
    QStringEncoder encoder(kName);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

QByteArray encodeLossy(QStringView text)
{
    if (auto exact = encodeExact(text))
        return *exact;
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const QStringView one = text.mid(i, pair ? 2 : 1);
        bytes += encodeExact(one).value_or(QByteArrayLiteral("?"));
        if (pair)
            ++i;
    }
    return bytes;
}

} // namespace codepage
