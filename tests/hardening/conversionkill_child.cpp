// Converts the diary folder given first as the word given second says:
// "encrypt" or "decrypt" with the test's first password, or "rekey" from
// whichever of the test's two passwords opens it to the other under a new
// master key, so that it can be killed at any moment of the conversion. It
// writes "go" just before converting and, once the conversion returned,
// "done" with the microseconds it took, timed here so that the killer's own
// scheduling cannot shorten or stretch it.

#include "cheapkdf.h"
#include "diary/conversion.h"
#include "diary/passwordfile.h"
#include "vault/keyslot.h"
#include "vault/vault.h"

#include <QFile>

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace {

const QString kPassword = QStringLiteral("correct horse battery");
const QString kNewPassword = QStringLiteral("staple battery horse");

bool timed(const std::function<Outcome()> &convert)
{
    using Steady = std::chrono::steady_clock;
    std::puts("go");
    std::fflush(stdout);
    const Steady::time_point went = Steady::now();
    if (!convert())
        return false;
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(Steady::now() - went);
    std::printf("done %lld\n", static_cast<long long>(took.count()));
    std::fflush(stdout);
    return true;
}

// A new master key under password, and the pw.dat line that wraps it.
struct NewKey
{
    std::unique_ptr<Vault> vault;
    QByteArray slot;
};

std::optional<NewKey> newKey(const QString &password)
{
    SecretBytes master = keyslot::newMasterKey();
    const auto slot = keyslot::make(master, keyslot::passwordBytes(password), kdfPolicy().chooseForNewSlot());
    if (!slot)
        return std::nullopt;
    return NewKey{std::make_unique<Vault>(std::move(master), *slot), keyslot::format(*slot)};
}

// The encrypted diary at path, when password opens it.
std::optional<DataRoot> opened(const QString &path, const QString &password)
{
    QFile passwordFile(DataRoot(path).passwordFile());
    if (!passwordFile.open(QIODevice::ReadOnly))
        return std::nullopt;
    const auto slot = keyslot::parse(passwordFile.readLine().trimmed());
    if (!slot)
        return std::nullopt;
    auto master = keyslot::unwrap(*slot, keyslot::passwordBytes(password));
    if (!master)
        return std::nullopt;
    return DataRoot(path, std::make_shared<Vault>(std::move(*master), *slot));
}

bool encrypt(const QString &path)
{
    const auto key = newKey(kPassword);
    return key && timed([&] { return conversion::encrypt(DataRoot(path), *key->vault, key->slot); });
}

bool decrypt(const QString &path)
{
    const auto root = opened(path, kPassword);
    return root && timed([&] { return conversion::decrypt(*root, passwordfile::fileBytes(kPassword)); });
}

bool rekey(const QString &path)
{
    const auto first = opened(path, kPassword);
    const auto root = first ? first : opened(path, kNewPassword);
    const auto key = newKey(first ? kNewPassword : kPassword);
    return root && key && timed([&] { return conversion::rekey(*root, *key->vault, key->slot); });
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3)
        return 2;
    useCheapKeyDerivation();
    const QString path = QFile::decodeName(argv[1]);
    const QByteArray command(argv[2]);
    const std::map<QByteArray, bool (*)(const QString &)> commands{{"encrypt", encrypt}, {"decrypt", decrypt}, {"rekey", rekey}};
    const auto found = commands.find(command);
    if (found == commands.end())
        return 2;
    return found->second(path) ? 0 : 1;
}
