#include "safewrite.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Without this a power cut right after the rename may bring back the old name.
void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// QSaveFile writes into the target's name followed by a dot and six random
// letters or digits, then renames that over the target. A process killed in
// between leaves it behind; the next save of the same file removes it, so
// killed saves never pile up. A save of that file running at this moment in
// another process then fails and says so, and its old file stays.
void removeLeftovers(const QFileInfo &target)
{
    const QString prefix = target.fileName() + QLatin1Char('.');
    QDir folder(target.absolutePath());
    const QStringList candidates = folder.entryList({prefix + QStringLiteral("??????")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : candidates) {
        const QStringView random = QStringView(name).sliced(prefix.size());
        if (std::ranges::all_of(random, [](QChar c) { return c.isLetterOrNumber() && c.unicode() < 128; }))
            folder.remove(name);
    }
}

Outcome failed(QSaveFile &file, const QString &path)
{
    const QString why = file.errorString();
    file.cancelWriting();
    return Outcome::failure(QStringLiteral("%1: %2").arg(path, why));
}

} // namespace

Outcome writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    const QFileInfo target(path);
    if (!QFileInfo(target.absolutePath()).isDir())
        return Outcome::failure(QStringLiteral("%1: the folder does not exist").arg(target.absolutePath()));

    removeLeftovers(target);
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file, path);
    // Qt 6.4 can commit a cut-off file when the disk fills during a buffered
    // write, so every step is checked before the commit.
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError)
        return failed(file, path);
    if (!file.commit())
        return Outcome::failure(QStringLiteral("%1: %2").arg(path, file.errorString()));
    syncFolder(target.absolutePath());
    return Outcome::success();
}
