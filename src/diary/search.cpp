#include "search.h"

#include "codepage.h"
#include "pagestore.h"
#include "scramble.h"
#include "vault/vault.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Reads a whole file into buffer, which is kept from file to file so that a
// search over thousands of pages allocates almost nothing. Returns the length
// read, or -1 when the file cannot be read or is larger than any page file.
qsizetype readWhole(const QByteArray &path, std::vector<char> &buffer, qint64 largest)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size > largest) {
        ::close(fd);
        return -1;
    }
    if (buffer.size() <= static_cast<size_t>(info.st_size))
        buffer.resize(static_cast<size_t>(info.st_size) + 1);
    size_t used = 0;
    for (;;) {
        // A file still growing is read no further than a page file may be.
        if (used > static_cast<size_t>(largest)) {
            ::close(fd);
            return -1;
        }
        if (used == buffer.size())
            buffer.resize(buffer.size() * 2 + 4096);
        const ssize_t got = ::read(fd, buffer.data() + used, buffer.size() - used);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            ::close(fd);
            return got == 0 ? static_cast<qsizetype>(used) : -1;
        }
        used += static_cast<size_t>(got);
    }
}

} // namespace

namespace {

bool holds(std::string_view stored, std::string_view needle, const Vault *vault, const QString &name)
{
    if (!vault)
        return stored.find(needle) != std::string_view::npos;
    const auto plain = vault->open(QByteArrayView(stored.data(), qsizetype(stored.size())), QStringLiteral("pages/") + name);
    return plain && std::string_view(plain->constData(), size_t(plain->size())).find(needle) != std::string_view::npos;
}

} // namespace

QStringList searchPages(const QString &pagesDir, const QStringList &pageNames, QStringView term, const Vault *vault)
{
    QStringList matches;
    const auto bytes = codepage::encodeExact(term);
    if (!bytes)
        return matches;
    const auto scrambled = ScrambleLine(*bytes);
    if (!scrambled)
        return matches;

    // Stored bytes are never CR or LF, so a match in the whole file is a match
    // within one line; an empty term matches any file holding at least one line.
    const std::string_view needle(scrambled->constData(), static_cast<size_t>(scrambled->size()));
    const QByteArray folder = QFile::encodeName(pagesDir) + '/';
    std::vector<char> buffer;
    const qint64 largest = pagestore::kLargestPageFile + (vault ? Vault::kOverhead : 0);
    for (const QString &name : pageNames) {
        const qsizetype length = readWhole(folder + QFile::encodeName(name), buffer, largest);
        if (length <= 0)
            continue;
        if (holds(std::string_view(buffer.data(), static_cast<size_t>(length)), needle, vault, name))
            matches.append(name);
    }
    return matches;
}
