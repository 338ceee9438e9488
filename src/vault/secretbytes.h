#pragma once

#include <QByteArrayView>

#include <cstddef>

// Bytes that must never reach the disk or a swap file: kept in libsodium's
// guarded memory (locked, fenced by guard pages) and wiped when freed.
class SecretBytes
{
public:
    explicit SecretBytes(std::size_t size);
    explicit SecretBytes(QByteArrayView bytes);
    SecretBytes(SecretBytes &&other) noexcept;
    SecretBytes &operator=(SecretBytes &&other) noexcept;
    SecretBytes(const SecretBytes &) = delete;
    SecretBytes &operator=(const SecretBytes &) = delete;
    ~SecretBytes();

    unsigned char *data() { return m_data; }
    const unsigned char *data() const { return m_data; }
    std::size_t size() const { return m_size; }
    // False when guarded memory could not be had; such bytes hold nothing.
    bool isValid() const { return m_data != nullptr; }

private:
    void release();

    unsigned char *m_data = nullptr;
    std::size_t m_size = 0;
};

// libsodium must be set up once before any of its calls; false when it cannot be.
bool sodiumReady();
