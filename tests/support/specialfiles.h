#pragma once

#include <QString>

#include <array>

// What a hostile folder may hold under a diary file's name: reading a FIFO
// blocks until a writer comes, and /dev/zero never ends.
enum class SpecialFile { Fifo, LinkToZero };
inline constexpr std::array kSpecialFiles{SpecialFile::Fifo, SpecialFile::LinkToZero};

void makeSpecialFile(const QString &path, SpecialFile kind);
const char *nameOf(SpecialFile kind);
