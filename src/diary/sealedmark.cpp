#include "sealedmark.h"

#include "boundedfile.h"
#include "passwordfile.h"
#include "vault/vault.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <array>

#include <fcntl.h>
#include <unistd.h>

namespace sealedmark {

namespace {

// Pages first: a sealed diary nearly always has one, so the look ends there.
const std::array<QString, 4> kFolders{QStringLiteral("pages"), QStringLiteral("dates"), QStringLiteral(".drafts"),
                                      QStringLiteral("history")};

bool beginsSealed(const QString &path)
{
    const int fd = boundedfile::openRegular(AT_FDCWD, QFile::encodeName(path).constData());
    if (fd < 0)
        return false;
    char head[4];
    const ssize_t got = ::read(fd, head, sizeof head);
    ::close(fd);
    return got == ssize_t(sizeof head) && QByteArrayView(head, sizeof head) == sealing::kHeader;
}

} // namespace

bool holdsSealedFile(const QString &rootPath)
{
    const QDir root(rootPath);
    for (const QString &folder : kFolders) {
        QDirIterator it(root.filePath(folder), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            if (beginsSealed(it.next()))
                return true;
        }
    }
    return false;
}

bool passwordFileLost(const DataRoot &root)
{
    return !keyslot::isKeySlot(passwordfile::readStored(root.passwordFile())) && holdsSealedFile(root.path());
}

} // namespace sealedmark
