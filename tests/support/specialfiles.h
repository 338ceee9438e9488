#pragma once

#include <QString>

#include <array>

// What a hostile folder may hold under a diary file's name: reading a FIFO
// blocks until a writer comes, /dev/zero never ends, and a folder is no file.
enum class SpecialFile { Fifo, LinkToZero, Folder };
inline constexpr std::array kSpecialFiles{SpecialFile::Fifo, SpecialFile::LinkToZero};

void makeSpecialFile(const QString &path, SpecialFile kind);
inline const char *nameOf(SpecialFile kind)
{
    return kind == SpecialFile::Fifo ? "a FIFO" : kind == SpecialFile::Folder ? "a folder" : "a link to /dev/zero";
}
