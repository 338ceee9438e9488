#include "vaulttest.h"

#include "cheapkdf.h"
#include "testapplication.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

namespace vaulttest {

namespace {
// Argon2id at its least cost for every test here: the limits themselves are
// checked by the tests that set their own policy.
class CheapKeys : public ::testing::Environment
{
public:
    void SetUp() override
    {
        testApplication();
        useCheapKeyDerivation();
    }
};
[[maybe_unused]] ::testing::Environment *const kCheapKeys = ::testing::AddGlobalTestEnvironment(new CheapKeys);
} // namespace

Snapshot snapshot(const QString &root)
{
    Snapshot files;
    const QDir base(root);
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString name = base.relativeFilePath(path);
        if (it.fileInfo().isDir())
            files[name + QLatin1Char('/')] = {};
        else
            files[name] = readBytes(path);
    }
    return files;
}

std::string differences(const Snapshot &before, const Snapshot &after)
{
    QStringList names;
    for (const auto &[name, bytes] : before) {
        const auto other = after.find(name);
        if (other == after.end())
            names.append(name + QStringLiteral(" (gone)"));
        else if (other->second != bytes)
            names.append(name + QStringLiteral(" (changed)"));
    }
    for (const auto &[name, bytes] : after) {
        if (!before.contains(name))
            names.append(name + QStringLiteral(" (new)"));
    }
    return names.join(QStringLiteral(", ")).toStdString();
}

std::string fileHolding(const Snapshot &files, QByteArrayView needle)
{
    for (const auto &[name, bytes] : files) {
        if (bytes.contains(needle))
            return name.toStdString();
    }
    return {};
}

void copyTree(const QString &from, const QString &to)
{
    const QDir source(from);
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + QLatin1Char('/') + source.relativeFilePath(path);
        if (it.fileInfo().isDir())
            ASSERT_TRUE(QDir().mkpath(target));
        else
            writeBytes(target, readBytes(path));
    }
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray firstLine(const QString &passwordFile)
{
    const QByteArray bytes = readBytes(passwordFile);
    return bytes.left(bytes.indexOf("\r\n"));
}

std::shared_ptr<Vault> openVault(const QString &passwordFile, QStringView password)
{
    const auto slot = keyslot::parse(firstLine(passwordFile));
    if (!slot)
        return nullptr;
    auto key = keyslot::unwrap(*slot, keyslot::passwordBytes(password));
    return key ? std::make_shared<Vault>(std::move(*key), *slot) : nullptr;
}

QByteArray counting(int first, int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes.append(char(first + i));
    return bytes;
}

QByteArray flipped(QByteArray bytes, qsizetype at, int bit)
{
    bytes[at] = char(bytes[at] ^ (1 << bit));
    return bytes;
}

void script(ScriptedDialogs &dialogs, std::initializer_list<std::variant<Dialogs::Button, QString>> answers)
{
    for (const auto &answer : answers) {
        if (const auto *button = std::get_if<Dialogs::Button>(&answer))
            dialogs.answerMessage(*button);
        else
            dialogs.answerInput(std::get<QString>(answer));
    }
}

} // namespace vaulttest
