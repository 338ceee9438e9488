#include "conversion.h"

#include "boundedfile.h"
#include "privatefiles.h"
#include "safewrite.h"
#include "storedbytes.h"
#include "sync/conflictnames.h"
#include "vault/vault.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <array>

namespace conversion {

namespace {

const QString kStaging = QStringLiteral(".converting");
const QString kOld = QStringLiteral(".converting-old");
const QString kReadyMark = QStringLiteral("ready");
// The password file goes last, so the swap's last step makes it the other form.
const std::array<QString, 5> kItems{QStringLiteral("pages"), QStringLiteral("dates"), QStringLiteral("history"),
                                    QStringLiteral(".drafts"), QStringLiteral("pw.dat")};

// A file that does not open with the diary's key is set aside; one that
// opens but cannot be converted stops the change.
struct Converted
{
    std::optional<QByteArray> bytes;
    bool opens = true;
};

using Transform = std::function<Converted(QByteArrayView bytes, const QString &relativeName)>;

QStringList filesToConvert(const QString &rootPath)
{
    QStringList files;
    const QDir root(rootPath);
    for (const QString &item : kItems) {
        const QString path = root.filePath(item);
        if (QFileInfo(path).isFile())
            files.append(item);
        QDirIterator it(path, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(root.relativeFilePath(it.next()));
    }
    return files;
}

// The folders are made beforehand by mirrorFolders. The bytes are read back
// through the same descriptor: one open fewer for each of thousands of files.
bool writeChecked(const QString &path, const QByteArray &bytes)
{
    QFile out(path);
    if (!privatefiles::openForWriting(out, QIODevice::ReadWrite | QIODevice::Truncate) || out.write(bytes) != bytes.size() || !out.flush())
        return false;
    return out.seek(0) && out.readAll() == bytes;
}

// Folders that hold no file yet still belong to the diary's form.
void mirrorFolders(const QDir &root, const QDir &staging)
{
    for (const QString &item : kItems) {
        QDirIterator it(root.filePath(item), QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        if (QFileInfo(root.filePath(item)).isDir())
            privatefiles::makeFolder(staging.filePath(item));
        while (it.hasNext())
            privatefiles::makeFolder(staging.filePath(root.relativeFilePath(it.next())));
    }
}

// Copied, not moved: the diary stays whole until the swap, and a kill
// before it leaves at most a second copy.
bool setAsideCopy(const QDir &root, const QString &name, const QByteArray &bytes)
{
    QString target = root.filePath(kSetAside + u'/' + name);
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = root.filePath(kSetAside + u'/' + name + QStringLiteral(".%1").arg(n));
    return privatefiles::makeFolder(QFileInfo(target).path()) && writeChecked(target, bytes);
}

Outcome stage(const QString &rootPath, const Transform &transform, const QByteArray &passwordFile, const Progress &progress,
              QStringList *setAside)
{
    const QDir root(rootPath);
    const QDir staging(root.filePath(kStaging));
    const QStringList files = filesToConvert(rootPath);
    if (!privatefiles::makeFolder(root.filePath(kStaging)))
        return Outcome::failure(QStringLiteral("The folder for the converted files cannot be made."));
    mirrorFolders(root, staging);
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString &name = files[i];
        const boundedfile::Contents in = boundedfile::read(root.filePath(name), storedbytes::kLargestFile);
        if (!in)
            return Outcome::failure(QStringLiteral("%1 cannot be read.").arg(name));
        const QByteArray &bytes = in.bytes;
        const Converted converted = name == QLatin1String("pw.dat") ? Converted{passwordFile} : transform(bytes, name);
        if (!converted.opens) {
            if (!setAsideCopy(root, name, bytes))
                return Outcome::failure(QStringLiteral("%1 does not open with this diary's key, and it cannot be set aside.").arg(name));
            if (setAside)
                setAside->append(name);
        } else if (!converted.bytes)
            return Outcome::failure(QStringLiteral("%1 could not be converted.").arg(name));
        else if (!writeChecked(staging.filePath(name), *converted.bytes))
            return Outcome::failure(QStringLiteral("%1 could not be written.").arg(name));
        if (progress)
            progress(int(i + 1), int(files.size()));
    }
    if (!files.contains(QStringLiteral("pw.dat")) && !writeChecked(staging.filePath(QStringLiteral("pw.dat")), passwordFile))
        return Outcome::failure(QStringLiteral("The password file could not be written."));
    if (!syncFileSystem(rootPath))
        return Outcome::failure(QStringLiteral("The converted files could not be synced to disk."));
    return writeFileAtomically(staging.filePath(kReadyMark), QByteArray("ready\n"));
}

// Each step can be repeated after a kill: what was moved is not moved again.
// A move that fails stops the swap with nothing deleted, and the mark stays,
// so the next start tries again.
bool swapIn(const QDir &root)
{
    const QDir staging(root.filePath(kStaging));
    if (!privatefiles::makeFolder(root.filePath(kOld)))
        return false;
    for (const QString &item : kItems) {
        if (!QFileInfo::exists(staging.filePath(item)))
            continue;
        if (QFileInfo::exists(root.filePath(item))
            && !QDir().rename(root.filePath(item), root.filePath(kOld + QLatin1Char('/') + item)))
            return false;
        if (!QDir().rename(staging.filePath(item), root.filePath(item)))
            return false;
    }
    syncFileSystem(root.path());
    QDir(root.filePath(kOld)).removeRecursively();
    QFile::remove(staging.filePath(kReadyMark));
    QDir(staging.path()).removeRecursively();
    return true;
}

Outcome convert(const DataRoot &root, const Transform &transform, const QByteArray &passwordFile, const Progress &progress,
                QStringList *setAside = nullptr)
{
    finishInterrupted(root.path());
    const Outcome staged = stage(root.path(), transform, passwordFile, progress, setAside);
    if (!staged) {
        QDir(QDir(root.path()).filePath(kStaging)).removeRecursively();
        return staged;
    }
    if (!swapIn(QDir(root.path())))
        return Outcome::failure(QStringLiteral("The converted files could not be moved in; the next start finishes the work."));
    return Outcome::success();
}

// Sealed, and opened again before it counts.
std::optional<QByteArray> sealChecked(const Vault &vault, QByteArrayView bytes, const QString &name)
{
    auto sealed = vault.seal(bytes, name);
    if (!sealed || vault.open(*sealed, name) != bytes.toByteArray())
        return std::nullopt;
    return sealed;
}

} // namespace

QString storedNameOf(const QString &relativeName)
{
    static const QRegularExpression version(QStringLiteral("^history/(pages|dates)/(?:[^/]+/)?([^/@]+)@[^/]*$"));
    static const QRegularExpression draft(QStringLiteral("^\\.drafts/(?:[^/]+/)?(page|print|note)@([^/]+)$"));
    if (const auto copy = conflictnames::recognise(QFileInfo(relativeName).fileName()))
        return QFileInfo(relativeName).path() + u'/' + copy->original;
    if (const auto match = version.match(relativeName); match.hasMatch())
        return match.captured(1) + QLatin1Char('/') + match.captured(2) + QStringLiteral(".dat");
    if (const auto match = draft.match(relativeName); match.hasMatch())
        return (match.captured(1) == QLatin1String("note") ? QStringLiteral("dates/") : QStringLiteral("pages/")) + match.captured(2);
    return relativeName;
}

Outcome encrypt(const DataRoot &plain, const Vault &vault, const QByteArray &keySlot, const Progress &progress)
{
    const Transform seal = [&vault](QByteArrayView bytes, const QString &name) {
        return Converted{sealChecked(vault, bytes, storedNameOf(name))};
    };
    return convert(plain, seal, keyslot::fileBytes(keySlot), progress);
}

Outcome decrypt(const DataRoot &encrypted, const QByteArray &passwordFile, const Progress &progress, QStringList *setAside)
{
    const Vault *vault = encrypted.vault();
    if (!vault)
        return Outcome::failure(QStringLiteral("The diary is not encrypted."));
    const Transform open = [vault](QByteArrayView bytes, const QString &name) {
        // A file the program did not name opens under its own name.
        auto plain = vault->open(bytes, storedNameOf(name));
        plain = plain ? plain : vault->open(bytes, name);
        return Converted{plain, plain.has_value()};
    };
    return convert(encrypted, open, passwordFile, progress, setAside);
}

Outcome rekey(const DataRoot &encrypted, const Vault &renewed, const QByteArray &keySlot, const Progress &progress,
              QStringList *setAside)
{
    const Vault *vault = encrypted.vault();
    if (!vault)
        return Outcome::failure(QStringLiteral("The diary is not encrypted."));
    // Each file is sealed again under the name it opened with.
    const Transform reseal = [vault, &renewed](QByteArrayView bytes, const QString &name) {
        for (const QString &sealedAs : {storedNameOf(name), name}) {
            if (const auto plain = vault->open(bytes, sealedAs))
                return Converted{sealChecked(renewed, *plain, sealedAs)};
        }
        return Converted{std::nullopt, false};
    };
    return convert(encrypted, reseal, keyslot::fileBytes(keySlot), progress, setAside);
}

bool interrupted(const QString &rootPath)
{
    const QDir root(rootPath);
    return QFileInfo::exists(root.filePath(kStaging)) || QFileInfo::exists(root.filePath(kOld));
}

void finishInterrupted(const QString &rootPath)
{
    const QDir root(rootPath);
    if (QFileInfo::exists(root.filePath(kStaging + QLatin1Char('/') + kReadyMark))) {
        if (!swapIn(root))
            return;
    } else if (QFileInfo::exists(root.filePath(kStaging)))
        QDir(root.filePath(kStaging)).removeRecursively();
    if (QFileInfo::exists(root.filePath(kOld)))
        QDir(root.filePath(kOld)).removeRecursively();
}

} // namespace conversion
