#include "scramble.h"

bool appendScrambled(QByteArray &out, QByteArrayView line)
{
    const qsizetype start = out.size();
    out.resize(start + line.size());
    char *next = out.data() + start;
    for (const char byte : line) {
        const int code = static_cast<unsigned char>(byte) + kScrambleOffset;
        if (code > 255) {
            out.truncate(start);
            return false;
        }
        *next++ = static_cast<char>(code);
    }
    return true;
}

void appendUnscrambled(QByteArray &out, QByteArrayView stored)
{
    const qsizetype start = out.size();
    out.resize(start + stored.size());
    char *next = out.data() + start;
    for (const char byte : stored) {
        const int code = static_cast<unsigned char>(byte) - kScrambleOffset;
        if (code >= 0)
            *next++ = static_cast<char>(code);
    }
    out.truncate(next - out.constData());
}

std::optional<QByteArray> ScrambleLine(QByteArrayView line)
{
    QByteArray result;
    if (!appendScrambled(result, line))
        return std::nullopt;
    return result;
}

QByteArray ScrambleDroppingHigh(QByteArrayView line)
{
    QByteArray result;
    result.reserve(line.size());
    for (const char byte : line) {
        const int code = static_cast<unsigned char>(byte) + kScrambleOffset;
        if (code <= 255)
            result.append(static_cast<char>(code));
    }
    return result;
}

QByteArray UnscrambleLine(QByteArrayView stored)
{
    QByteArray result;
    appendUnscrambled(result, stored);
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
