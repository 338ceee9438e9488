#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

// Every stored page and password byte is shifted up by this offset. Being
// above 13, it keeps every stored byte clear of CR and LF, so a stored line
// never holds a line break and a search can scan whole files at once.
inline constexpr int kScrambleOffset = 14;

// Fails when a byte shifted by the offset would be above 255.
std::optional<QByteArray> ScrambleLine(QByteArrayView line);

// Leaves out each byte that would shift above 255, as the password file does.
QByteArray ScrambleDroppingHigh(QByteArrayView line);

// Drops bytes below the offset; any line length decodes.
QByteArray UnscrambleLine(QByteArrayView stored);

// The same, appended to out in place, so a whole page is shifted without a
// buffer per line. A failed append leaves out as it was.
bool appendScrambled(QByteArray &out, QByteArrayView line);
void appendUnscrambled(QByteArray &out, QByteArrayView stored);
// Into room for stored.size() bytes at out; returns the end of what it wrote.
char *unscrambleTo(char *out, QByteArrayView stored);

// A line ends at CR LF or at a lone CR; a lone LF is an ordinary character;
// a break at the very end of the text starts no further line.
QList<QByteArrayView> splitLines(QByteArrayView text);
