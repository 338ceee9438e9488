#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

// The stored files are single-byte Windows-1252 text, so files written on a
// Windows machine and here read the same.
namespace codepage {

// The ICU name of the single-byte code every stored file and most pages use.
inline constexpr const char *kName = "windows-1252";

// What each byte stands for: one table for the store and the RTF reader and
// writer, so a page and a note never read a byte differently.
const std::array<char16_t, 256> &characters();
// The byte of a character, or -1 when it has none.
int byteOf(char16_t c);

QString decode(QByteArrayView bytes);

// Text from a file that may come from another machine: UTF-8, UTF-16 or
// UTF-32 after its byte-order mark, else Windows-1252.
QString decodeText(QByteArrayView bytes);

// Fails when a character has no single-byte code.
std::optional<QByteArray> encodeExact(QStringView text);

// Writes "?" for a character that has no single-byte code.
QByteArray encodeLossy(QStringView text);

} // namespace codepage
