#include "scramble.h"

#include <algorithm>

// Both loops are free of branches, so the compiler shifts many bytes at once:
// a photograph's page is megabytes of them. What does not fit is found after.
bool appendScrambled(QByteArray &out, QByteArrayView line)
{
    const qsizetype start = out.size();
    out.resize(start + line.size());
    auto *next = reinterpret_cast<unsigned char *>(out.data() + start);
    unsigned char highest = 0;
    for (const char byte : line) {
        const auto value = static_cast<unsigned char>(byte);
        highest = std::max(highest, value);
        *next++ = static_cast<unsigned char>(value + kScrambleOffset);
    }
    if (highest > 255 - kScrambleOffset) {
        out.truncate(start);
        return false;
    }
    return true;
}

// A byte below the offset cannot come from a save; it is dropped.
char *unscrambleTo(char *out, QByteArrayView stored)
{
    auto *next = reinterpret_cast<unsigned char *>(out);
    unsigned char lowest = 255;
    for (const char byte : stored) {
        const auto value = static_cast<unsigned char>(byte);
        lowest = std::min(lowest, value);
        *next++ = static_cast<unsigned char>(value - kScrambleOffset);
    }
    if (lowest >= kScrambleOffset)
        return reinterpret_cast<char *>(next);
    next = reinterpret_cast<unsigned char *>(out);
    for (const char byte : stored) {
        const int code = static_cast<unsigned char>(byte) - kScrambleOffset;
        if (code >= 0)
            *next++ = static_cast<unsigned char>(code);
    }
    return reinterpret_cast<char *>(next);
}

void appendUnscrambled(QByteArray &out, QByteArrayView stored)
{
    const qsizetype start = out.size();
    out.resize(start + stored.size());
    out.truncate(unscrambleTo(out.data() + start, stored) - out.constData());
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
