#include "fuzzsupport.h"

#include "diary/passwordfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzzsupport::startQt(argc, argv);
    return 0;
}

// Any password file reads to one line without a line break, and any typed
// password, once written, reads back as exactly what typing it again gives.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    const QString path = fuzzsupport::writeScratch(QStringLiteral("pw.dat"), bytes);
    const QByteArray stored = passwordfile::readStored(path);
    if (stored.contains('\r') || stored.size() > bytes.size())
        std::abort();

    const QString typed = QString::fromUtf8(bytes);
    if (!passwordfile::write(path, typed))
        std::abort();
    if (passwordfile::readStored(path) != passwordfile::ScramblePassword(typed))
        std::abort();
    return 0;
}
