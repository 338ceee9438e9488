#include "keyslotfile.h"

#include "boundedfile.h"
#include "safewrite.h"

#include <QFile>

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
    for (const QByteArray &copy : std::as_const(m_copies)) {
        auto slot = keyslot::parse(copy);
        // Two equal copies cost one key derivation, not two.
        if (slot && (m_slots.empty() || keyslot::format(m_slots.front()) != copy))
            m_slots.push_back(std::move(*slot));
    }
}

bool KeySlotFile::isEncrypted() const
{
    return std::ranges::any_of(m_copies, [](const QByteArray &copy) { return keyslot::isKeySlot(copy); });
}

bool KeySlotFile::copiesDiffer() const
{
    return m_copies.size() > 1 && m_copies.first() != m_copies.last();
}

std::optional<KeySlotFile::Opened> KeySlotFile::open(const SecretBytes &password) const
{
    for (const KeySlot &slot : m_slots) {
        if (auto key = keyslot::unwrap(slot, password))
            return Opened{std::move(*key), slot};
    }
    return std::nullopt;
}

KeySlotFile::Mend KeySlotFile::mend(const KeySlot &opened) const
{
    const QByteArray line = keyslot::format(opened);
    const QByteArray whole = keyslot::fileBytes(line);
    if (m_bytes == whole && m_size == whole.size())
        return Mend::Whole;
    const bool damaged = m_copies.size() > 1 && !(m_copies.first() == line && m_copies.last() == line);
    // Another program may have written a new pw.dat since it was read here.
    const KeySlotFile now(m_path);
    const bool written = now.m_bytes == m_bytes && now.m_size == m_size && writeFileAtomically(m_path, whole);
    if (!damaged)
        return Mend::Whole;
    return written ? Mend::Mended : Mend::Failed;
}
