#include "secretbytes.h"

#include <sodium.h>

#include <cstring>
#include <utility>

bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

SecretBytes::SecretBytes(std::size_t size)
{
    if (!sodiumReady())
        return;
    m_data = static_cast<unsigned char *>(sodium_malloc(size == 0 ? 1 : size));
    if (m_data) {
        m_size = size;
        sodium_memzero(m_data, m_size);
    }
}

SecretBytes::SecretBytes(QByteArrayView bytes) : SecretBytes(static_cast<std::size_t>(bytes.size()))
{
    if (m_data && m_size > 0)
        std::memcpy(m_data, bytes.data(), m_size);
}

SecretBytes::SecretBytes(SecretBytes &&other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0))
{
}

SecretBytes &SecretBytes::operator=(SecretBytes &&other) noexcept
{
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

SecretBytes::~SecretBytes()
{
    release();
}

void SecretBytes::release()
{
    // sodium_free wipes the bytes before it gives the pages back.
    if (m_data)
        sodium_free(m_data);
    m_data = nullptr;
    m_size = 0;
}
