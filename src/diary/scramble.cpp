#include "scramble.h"

std::optional<QByteArray> ScrambleLine(QByteArrayView line)
{
    QByteArray result(line.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < line.size(); ++i) {
        const int code = static_cast<unsigned char>(line[i]) + kScrambleOffset;
        if (code > 255)
            return std::nullopt;
        result[i] = static_cast<char>(code);
    }
    return result;
}

QByteArray UnscrambleLine(QByteArrayView stored)
{
    QByteArray result;
    result.reserve(stored.size());
    for (const char byte : stored) {
        const int code = static_cast<unsigned char>(byte) - kScrambleOffset;
        if (code >= 0)
            result.append(static_cast<char>(code));
    }
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
