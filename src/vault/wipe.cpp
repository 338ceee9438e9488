#include "wipe.h"

#include <sodium.h>

void wipe(QString &text)
{
    if (text.isDetached())
        sodium_memzero(text.data(), static_cast<std::size_t>(text.size()) * sizeof(QChar));
    text.clear();
}

void wipe(QByteArray &bytes)
{
    if (bytes.isDetached())
        sodium_memzero(bytes.data(), static_cast<std::size_t>(bytes.size()));
    bytes.clear();
}
