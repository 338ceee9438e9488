#pragma once

#include <QString>

#include <cstdint>
#include <string_view>
#include <vector>

#include <sys/types.h>

// What the look for a sealed file found unsealed in a plain diary, kept on
// this computer, so that the look at the next start opens only the files
// that arrived or were replaced since. A file is known by its folder, its
// name and its inode: the program, a sync tool and the encryption each write
// a file anew and rename it into place, which gives the name another inode.
// Only a look over many files is kept; a small diary is simply looked through.
class LookLedger
{
public:
    // Keeps nothing, and reads no record, for a folder given as "".
    explicit LookLedger(const QString &rootPath);

    static constexpr std::size_t kWorthKeeping = 1000;

    // Whether the file was found unsealed before, as it is now; if so, it is
    // carried into the record the look keeps.
    bool seenBefore(std::string_view folder, std::string_view name, ino_t inode);
    // A file read now and found not to begin as a sealed file does.
    void add(std::string_view folder, std::string_view name, ino_t inode);
    // Kept when the whole diary was looked through and held no sealed file.
    void keep() const;
    // Where the record of the diary folder at rootPath is kept.
    static QString recordPath(const QString &rootPath);

private:
    std::uint64_t keyOf(std::string_view folder, std::string_view name, ino_t inode) const;

    QString m_record;
    std::uint64_t m_seed = 0;
    std::uint64_t m_folder = 0;
    std::vector<std::uint64_t> m_known;
    std::vector<std::uint64_t> m_seen;
};
