#include "scramble.h"

std::optional<QByteArray> ScrambleLine(QByteArrayView line)
{
    QByteArray result(line.size(), Qt::Uninitialized);
    char *out = result.data();
    for (const char byte : line) {
        const int code = static_cast<unsigned char>(byte) + kScrambleOffset;
        if (code > 255)
            return std::nullopt;
        *out++ = static_cast<char>(code);
    }
    return result;
}

QByteArray UnscrambleLine(QByteArrayView stored)
{
    QByteArray result(stored.size(), Qt::Uninitialized);
    char *out = result.data();
    for (const char byte : stored) {
        const int code = static_cast<unsigned char>(byte) - kScrambleOffset;
        if (code >= 0)
            *out++ = static_cast<char>(code);
    }
    result.truncate(out - result.constData());
    return result;
}

QList<QByteArrayView> splitLines(QByteArrayView text)
{
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype cr = text.indexOf('\r', start);
        if (cr < 0) {
            lines.append(text.sliced(start));
            break;
        }
        lines.append(text.sliced(start, cr - start));
        start = cr + 1;
        if (start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}
