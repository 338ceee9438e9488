#pragma once

#include <QString>

#include <array>

// What a hostile folder may hold under a diary file's name: reading a FIFO
// blocks until a writer comes, and /dev/zero never ends.
enum class SpecialFile { Fifo, LinkToZero };
inline constexpr std::array kSpecialFiles{SpecialFile::Fifo, SpecialFile::LinkToZero};

void makeSpecialFile(const QString &path, SpecialFile kind);
inline const char *nameOf(SpecialFile kind) { return kind == SpecialFile::Fifo ? "a FIFO" : "a link to /dev/zero"; }
