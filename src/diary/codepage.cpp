#include "codepage.h"

#include <QHash>
#include <QStringDecoder>

namespace codepage {

// Nearly every byte read or written is Windows-1252: a table keeps it off ICU.
const std::array<char16_t, 256> &characters()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        QStringDecoder decoder(kName);
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QString one = decoder.decode(QByteArrayView(&byte, 1));
            t[b] = one.isEmpty() ? u'\uFFFD' : one[0].unicode();
        }
        return t;
    }();
    return table;
}

int byteOf(char16_t c)
{
    if (c < 0x80)
        return c;
    static const QHash<char16_t, int> bytes = [] {
        QHash<char16_t, int> table;
        for (int b = 0x80; b < 0x100; ++b) {
            if (characters()[b] != u'\uFFFD')
                table.insert(characters()[b], b);
        }
        return table;
    }();
    return bytes.value(c, -1);
}

QString decode(QByteArrayView bytes)
{
    const auto &table = characters();
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *to = text.data();
    for (const char b : bytes)
        *to++ = QChar(table[uchar(b)]);
    return text;
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
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *to = bytes.data();
    for (const QChar c : text) {
        const int byte = byteOf(c.unicode());
        if (byte < 0)
            return std::nullopt;
        *to++ = char(byte);
    }
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
