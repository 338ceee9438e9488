#include "keyslotfile.h"

#include "boundedfile.h"
#include "safewrite.h"
#include "sealedmark.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Each block is read on its own, so a block the disk cannot read costs only
// the copy in it: it reads as spaces, which no copy is.
QByteArray readBlock(int fd, qint64 offset)
{
    QByteArray block(keyslot::kSecondCopyAt, Qt::Uninitialized);
    ssize_t got = 0;
    do
        got = ::pread(fd, block.data(), size_t(block.size()), offset);
    while (got < 0 && errno == EINTR);
    if (got < 0)
        return QByteArray(keyslot::kSecondCopyAt, ' ');
    block.truncate(got);
    return block;
}

bool sameSealedKey(const KeySlot &a, const KeySlot &b)
{
    return a.nonce == b.nonce && a.wrapped == b.wrapped;
}

} // namespace

KeySlotFile::KeySlotFile(QString path) : m_path(std::move(path))
{
    const int fd = boundedfile::openRegular(AT_FDCWD, QFile::encodeName(m_path).constData());
    if (fd < 0)
        return;
    struct stat info {};
    ::fstat(fd, &info);
    m_size = info.st_size;
    m_bytes = readBlock(fd, 0);
    if (m_size > keyslot::kSecondCopyAt)
        m_bytes += readBlock(fd, keyslot::kSecondCopyAt);
    ::close(fd);
    m_copies = keyslot::copies(m_bytes);
    for (const QByteArray &copy : std::as_const(m_copies))
        m_slots.push_back(keyslot::parse(copy));
}

bool KeySlotFile::isEncrypted() const
{
    return std::ranges::any_of(m_copies, [](const QByteArray &copy) { return keyslot::isKeySlot(copy); });
}

bool KeySlotFile::isReadable() const
{
    return std::ranges::any_of(m_slots, [](const auto &slot) { return slot.has_value(); });
}

bool KeySlotFile::copiesDiffer() const
{
    return m_copies.size() > 1 && m_copies.first() != m_copies.last();
}

std::optional<KeySlotFile::Opened> KeySlotFile::open(const SecretBytes &password) const
{
    const KeySlot *derivedFor = nullptr;
    std::optional<SecretBytes> derived;
    for (const auto &slot : m_slots) {
        if (!slot)
            continue;
        if (!derivedFor || !keyslot::sameDerivation(*derivedFor, *slot)) {
            if (derivedFor && !sameSealedKey(*derivedFor, *slot))
                return std::nullopt;
            derivedFor = &*slot;
            derived = keyslot::passwordKey(*slot, password);
        }
        if (auto key = derived ? keyslot::unwrapWith(*slot, *derived) : std::nullopt)
            return Opened{std::move(*key), *slot};
    }
    return std::nullopt;
}

std::optional<KeySlotFile::SignedIn> KeySlotFile::signIn(const SecretBytes &password) const
{
    auto opened = open(password);
    if (!opened)
        return std::nullopt;
    const auto proof = sealedmark::proveKey(QFileInfo(m_path).path(), opened->key);
    if (proof == sealedmark::KeyProof::OpensNone)
        return std::nullopt;
    const Mend mended = mend(opened->slot, proof == sealedmark::KeyProof::Opens);
    return SignedIn{std::move(*opened), mended};
}

KeySlotFile::Mend KeySlotFile::mend(const KeySlot &opened, bool proven) const
{
    const QByteArray line = keyslot::format(opened);
    const QByteArray whole = keyslot::fileBytes(line);
    if (m_bytes == whole && m_size == whole.size())
        return Mend::None;
    const auto other = std::ranges::find_if(m_copies, [&line](const QByteArray &copy) { return copy != line; });
    const bool damaged = other != m_copies.end();
    // Without proof the other slot may be the current one beside an old.
    if (damaged && keyslot::parse(*other) && !proven)
        return Mend::None;
    // Another program may have written a new pw.dat since it was read here.
    const KeySlotFile now(m_path);
    const bool written = now.m_bytes == m_bytes && now.m_size == m_size && writeFileAtomically(m_path, whole);
    if (!damaged)
        return Mend::None;
    return written ? Mend::Mended : Mend::Failed;
}
