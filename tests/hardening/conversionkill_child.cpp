// Converts the diary folder given first to the form given second, "encrypt"
// or "decrypt", with the test's password, so that it can be killed at any
// moment of the conversion. It writes "go" just before converting and, once
// the conversion returned, "done" with the microseconds it took, timed here
// so that the killer's own scheduling cannot shorten or stretch it.

#include "cheapkdf.h"
#include "diary/conversion.h"
#include "diary/passwordfile.h"
#include "vault/keyslot.h"
#include "vault/vault.h"

#include <QFile>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

const QString kPassword = QStringLiteral("correct horse battery");

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

bool encrypt(const DataRoot &root)
{
    SecretBytes master = keyslot::newMasterKey();
    const auto slot = keyslot::make(master, keyslot::passwordBytes(kPassword), kdfPolicy().chooseForNewSlot());
    if (!slot)
        return false;
    const Vault vault(std::move(master), *slot);
    return timed([&] { return conversion::encrypt(root, vault, keyslot::format(*slot)); });
}

bool decrypt(const QString &path)
{
    QFile passwordFile(DataRoot(path).passwordFile());
    if (!passwordFile.open(QIODevice::ReadOnly))
        return false;
    const auto slot = keyslot::parse(passwordFile.readLine().trimmed());
    if (!slot)
        return false;
    auto master = keyslot::unwrap(*slot, keyslot::passwordBytes(kPassword));
    if (!master)
        return false;
    const DataRoot root(path, std::make_shared<Vault>(std::move(*master), *slot));
    return timed([&] { return conversion::decrypt(root, passwordfile::fileBytes(kPassword)); });
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3)
        return 2;
    useCheapKeyDerivation();
    const QString path = QFile::decodeName(argv[1]);
    const QByteArray direction(argv[2]);
    if (direction != "encrypt" && direction != "decrypt")
        return 2;
    return (direction == "encrypt" ? encrypt(DataRoot(path)) : decrypt(path)) ? 0 : 1;
}
