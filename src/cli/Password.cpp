#include "Password.h"

#include "platform/SecureMemory.h"

Password::Password(QByteArray bytes) : m_bytes(std::move(bytes))
{
    // Owned alone, so the wipe reaches the only copy.
    m_bytes.detach();
}

Password::~Password()
{
    SecureMemory::wipe(m_bytes);
}

Password::Password(Password &&other) noexcept : m_bytes(std::move(other.m_bytes)) {}

Password &Password::operator=(Password &&other) noexcept
{
    if (this != &other) {
        SecureMemory::wipe(m_bytes);
        m_bytes = std::move(other.m_bytes);
    }
    return *this;
}
