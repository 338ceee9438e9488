#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The stored files are single-byte Windows-1252 text, so files written on a
// Windows machine and here read the same.
namespace codepage {

QString decode(QByteArrayView bytes);

// Fails when a character has no single-byte code.
std::optional<QByteArray> encodeExact(QStringView text);

// Writes "?" for a character that has no single-byte code.
QByteArray encodeLossy(QStringView text);

} // namespace codepage
