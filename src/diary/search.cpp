#include "search.h"

#include "boundedfile.h"
#include "codepage.h"
#include "pagestore.h"
#include "scramble.h"
#include "vault/vault.h"

#include <QFile>
#include <QThread>

#include <algorithm>
#include <optional>
#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <thread>
#include <unistd.h>
#include <vector>

namespace search {

namespace {

// Few enough that the last pages split evenly, many enough that the shared
// counter is seldom touched.
constexpr qsizetype kTakenAtOnce = 16;
// A thread costs about as much to start as reading this many pages.
constexpr qsizetype kPagesPerThread = 64;

} // namespace

qsizetype Share::next()
{
    if (m_at == m_end) {
        const auto count = qsizetype(m_found.size());
        m_at = m_taken.fetch_add(kTakenAtOnce, std::memory_order_relaxed);
        m_end = std::min(m_at + kTakenAtOnce, count);
        if (m_at >= count) {
            m_at = m_end;
            return -1;
        }
    }
    return m_at++;
}

std::vector<char> marked(qsizetype count, const std::function<void(Share &)> &work)
{
    std::atomic<qsizetype> taken{0};
    std::vector<char> found(size_t(count), 0);
    const auto run = [&] {
        Share share(taken, found);
        work(share);
    };
    {
        const qsizetype helpers = std::min<qsizetype>(QThread::idealThreadCount(), count / kPagesPerThread) - 1;
        std::vector<std::jthread> threads;
        for (qsizetype i = 0; i < helpers; ++i)
            threads.emplace_back(run);
        run();
    }
    return found;
}

QStringList matching(const QStringList &names, const std::function<void(Share &)> &work, QStringList *unopened,
                     QStringList *unsealed)
{
    const std::vector<char> found = marked(names.size(), work);
    QStringList matches;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const char marks = found[size_t(i)];
        if (marks & Share::kMatch)
            matches.append(names[i]);
        else if (marks == Share::kUnopened && unopened)
            unopened->append(names[i]);
        if ((marks & Share::kUnsealed) && unsealed)
            unsealed->append(names[i]);
    }
    return matches;
}

} // namespace search

namespace {

constexpr std::string_view kSealedHeader(sealing::kHeader.data(), size_t(sealing::kHeader.size()));

// Enough for nearly every page at once; a page with a photograph grows it.
constexpr size_t kFirstBuffer = size_t(64) << 10;

// Reads a whole file of the folder into buffer, which its thread keeps from
// file to file. Reading on until the end, rather than asking the size first,
// saves a call per file and still stops one byte past the largest page file.
// Returns the length read, or -1 when the file cannot be read or is too large.
qsizetype readWhole(int folder, const char *name, std::vector<char> &buffer, qint64 largest)
{
    const int fd = boundedfile::openUnmarked(folder, name);
    if (fd < 0)
        return -1;
    size_t used = 0;
    qsizetype length = -1;
    for (;;) {
        if (used == buffer.size()) {
            if (used > size_t(largest))
                break;
            buffer.resize(std::min(std::max(buffer.size() * 2, kFirstBuffer), size_t(largest) + 1));
        }
        const ssize_t got = ::read(fd, buffer.data() + used, buffer.size() - used);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            if (got == 0)
                length = qsizetype(used);
            break;
        }
        used += size_t(got);
    }
    ::close(fd);
    return length;
}

// Nothing when a sealed page does not open. An empty plain page holds no line, so not even the empty term.
std::optional<bool> holds(std::string_view stored, std::string_view needle, const Vault *vault, const QString &name)
{
    if (!vault)
        return !stored.empty() && stored.find(needle) != std::string_view::npos;
    const auto plain = vault->open(QByteArrayView(stored.data(), qsizetype(stored.size())), QStringLiteral("pages/") + name);
    if (!plain)
        return std::nullopt;
    return std::string_view(plain->constData(), size_t(plain->size())).find(needle) != std::string_view::npos;
}

} // namespace

QStringList searchPages(const QString &pagesDir, const QStringList &pageNames, QStringView term, const Vault *vault,
                        QStringList *unopened, QStringList *unsealed)
{
    const auto bytes = codepage::encodeExact(term);
    const auto scrambled = bytes ? ScrambleLine(*bytes) : std::nullopt;
    if (!scrambled)
        return {};
    const int folder = ::open(QFile::encodeName(pagesDir).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return {};

    // Stored bytes are never CR or LF, so a match in the whole file is a match
    // within one line; an empty term matches any file holding at least one line.
    const std::string_view needle(scrambled->constData(), size_t(scrambled->size()));
    const qint64 largest = pagestore::kLargestPageFile + (vault ? Vault::kOverhead : 0);
    const QStringList matches = search::matching(pageNames, [&](search::Share &share) {
        std::vector<char> buffer;
        for (qsizetype i; (i = share.next()) >= 0;) {
            const QString &name = pageNames[i];
            const qsizetype length = readWhole(folder, QFile::encodeName(name).constData(), buffer, largest);
            const std::string_view stored(buffer.data(), size_t(length < 0 ? 0 : length));
            const auto found = length < 0 ? std::nullopt : holds(stored, needle, vault, name);
            if (!found)
                share.unopened();
            else if (*found)
                share.match();
            if (found && !vault && !stored.starts_with(kSealedHeader))
                share.unsealed();
        }
    }, unopened, unsealed);
    ::close(folder);
    return matches;
}
