#include "sealedmark.h"

#include "boundedfile.h"
#include "conversion.h"
#include "keyslotfile.h"
#include "lookledger.h"
#include "search.h"
#include "storedbytes.h"
#include "vault/vault.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

#include <fcntl.h>
#include <unistd.h>

namespace sealedmark {

namespace {

// Pages first: a sealed diary nearly always has one, so the look ends there.
const std::array<QString, 4> kFolders{QStringLiteral("pages"), QStringLiteral("dates"), QStringLiteral(".drafts"),
                                      QStringLiteral("history")};
// history/pages/yyyy-mm/ is the deepest a diary's file lies.
constexpr int kDeepest = 3;

// A file the listing calls regular is opened without a look at its type,
// one call fewer for each of a century of pages: a link put in its place is
// not followed, and nothing else makes a read of four bytes wait
// (O_NONBLOCK). A file the listing cannot tell is opened as the bounded
// reader opens it.
int openListed(int folder, const char *name)
{
    constexpr int kFlags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW;
    const int fd = ::openat(folder, name, kFlags | O_NOATIME);
    return fd >= 0 || errno != EPERM ? fd : ::openat(folder, name, kFlags);
}

// A file that does not open or read is neither: it is looked at again next time.
enum class Head { Sealed, Unsealed, Unread };

Head headOf(int folder, const char *name, bool listedRegular)
{
    const int fd = listedRegular ? openListed(folder, name) : boundedfile::openUnmarked(folder, name);
    if (fd < 0)
        return Head::Unread;
    char head[4];
    const ssize_t got = ::read(fd, head, sizeof head);
    ::close(fd);
    if (got < 0)
        return Head::Unread;
    return got == ssize_t(sizeof head) && QByteArrayView(head, sizeof head) == sealing::kHeader ? Head::Sealed : Head::Unsealed;
}

// The files of one share of a folder's listing.
struct Listed
{
    QByteArrayList names;
    std::vector<bool> regular;
    std::vector<ino_t> inodes;

    void clear()
    {
        names.clear();
        regular.clear();
        inodes.clear();
    }
};

bool isFolder(int folder, const dirent &entry)
{
    if (entry.d_type != DT_UNKNOWN)
        return entry.d_type == DT_DIR;
    struct stat info {};
    return ::fstatat(folder, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(info.st_mode);
}

// Every sealed file is one the program wrote: a FIFO, a device or a link
// (one named like a sync tool's copy, say) is not opened to look.
bool mayBeSealed(const dirent &entry)
{
    return entry.d_type == DT_REG || entry.d_type == DT_UNKNOWN;
}

// Each share of a folder's names is looked at on every core, as a plain
// diary of a century of pages is looked through at every start; the shares
// are small, so a sealed diary's look still ends after a few files.
constexpr qsizetype kNamesAtOnce = 1024;

// Adds the sealed ones among files (of folder) to found until it holds most,
// in the order of files, and those read unsealed to the ledger.
void lookAt(int folder, const Listed &files, const QString &prefix, qsizetype most, QStringList &found, LookLedger &ledger,
            std::string_view folderKey)
{
    std::atomic<qsizetype> sealed = found.size();
    const std::vector<char> marks = search::marked(files.names.size(), [&](search::Share &share) {
        for (qsizetype i; (i = share.next()) >= 0;) {
            if (sealed.load(std::memory_order_relaxed) >= most)
                continue;
            const Head head = headOf(folder, files.names[i].constData(), files.regular[size_t(i)]);
            if (head == Head::Sealed) {
                share.match();
                ++sealed;
            } else if (head == Head::Unsealed) {
                share.unsealed();
            }
        }
    });
    for (qsizetype i = 0; i < files.names.size(); ++i) {
        if (marks[size_t(i)] == search::Share::kMatch && found.size() < most)
            found.append(prefix + QLatin1Char('/') + QFile::decodeName(files.names[i]));
        else if (marks[size_t(i)] == search::Share::kUnsealed)
            ledger.add(folderKey, std::string_view(files.names[i].constData(), size_t(files.names[i].size())), files.inodes[size_t(i)]);
    }
}

// Names are read straight from the folder, without a stat of each file.
// Adds the sealed files' names below the diary folder until found holds most.
void sealedFilesIn(int fd, int depth, const QString &prefix, qsizetype most, QStringList &found, LookLedger &ledger,
                   const QSet<QString> &passOver = {})
{
    DIR *folder = ::fdopendir(fd);
    if (!folder) {
        ::close(fd);
        return;
    }
    const std::string folderKey = QFile::encodeName(prefix).toStdString();
    Listed files;
    QByteArrayList folders;
    const dirent *entry = nullptr;
    do {
        entry = ::readdir(folder);
        if (!entry || files.names.size() == kNamesAtOnce) {
            lookAt(::dirfd(folder), files, prefix, most, found, ledger, folderKey);
            files.clear();
        }
        if (!entry || std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0
            || (!passOver.isEmpty() && passOver.contains(QFile::decodeName(entry->d_name))))
            continue;
        if (isFolder(::dirfd(folder), *entry))
            folders.append(entry->d_name);
        else if (mayBeSealed(*entry) && !ledger.seenBefore(folderKey, entry->d_name, entry->d_ino)) {
            files.names.append(entry->d_name);
            files.regular.push_back(entry->d_type == DT_REG);
            files.inodes.push_back(entry->d_ino);
        }
    } while (entry && found.size() < most);
    for (const QByteArray &name : folders) {
        const int inner = depth > 1 && found.size() < most
            ? ::openat(::dirfd(folder), name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC) : -1;
        if (inner >= 0)
            sealedFilesIn(inner, depth - 1, prefix + QLatin1Char('/') + QFile::decodeName(name), most, found, ledger);
    }
    ::closedir(folder);
}

QStringList sealedFiles(const QString &rootPath, qsizetype most, LookLedger &ledger, const QSet<QString> &unsealedPages = {})
{
    const QDir root(rootPath);
    QStringList found;
    for (const QString &name : kFolders) {
        const int fd = found.size() < most
            ? ::open(QFile::encodeName(root.filePath(name)).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)
            : -1;
        if (fd >= 0)
            sealedFilesIn(fd, kDeepest, name, most, found, ledger, name == kFolders.front() ? unsealedPages : QSet<QString>());
    }
    return found;
}

QStringList sealedFiles(const QString &rootPath, qsizetype most)
{
    LookLedger none{QString()};
    return sealedFiles(rootPath, most, none);
}

} // namespace

std::optional<QString> sealedFile(const QString &rootPath)
{
    const QStringList found = sealedFiles(rootPath, 1);
    return found.isEmpty() ? std::nullopt : std::optional(found.first());
}

KeyProof proveKey(const QString &rootPath, const SecretBytes &key)
{
    // More than one, so a single damaged or foreign file cannot lock the
    // right password out.
    const QStringList found = sealedFiles(rootPath, 8);
    if (found.isEmpty())
        return KeyProof::NothingSealed;
    const QDir root(rootPath);
    const bool opens = std::ranges::any_of(found, [&](const QString &name) {
        const auto in = boundedfile::read(root.filePath(name), storedbytes::kLargestFile);
        return in && (sealing::open(key, in.bytes, conversion::storedNameOf(name)) || sealing::open(key, in.bytes, name));
    });
    return opens ? KeyProof::Opens : KeyProof::OpensNone;
}

std::optional<QString> passwordFileLost(const DataRoot &root, const QStringList &unsealedPages, Look look)
{
    if (KeySlotFile(root.passwordFile()).isEncrypted())
        return std::nullopt;
    // Pages passed over are not in the record, which would then speak for too few.
    LookLedger ledger(look == Look::Remembered && unsealedPages.isEmpty() ? root.path() : QString());
    const QStringList sealed = sealedFiles(root.path(), 1, ledger, QSet<QString>(unsealedPages.cbegin(), unsealedPages.cend()));
    if (sealed.isEmpty()) {
        ledger.keep();
        return std::nullopt;
    }
    const QString &found = sealed.first();
    return QStringLiteral("This diary is encrypted, but its password file is missing or is not an encrypted diary's. "
                          "Nothing has been changed. (%1 is sealed.)").arg(found);
}

} // namespace sealedmark
