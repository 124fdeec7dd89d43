#pragma once

#include <QByteArray>
#include <QByteArrayView>

// A password in the code page's bytes, the key of a database. Its buffer is wiped when it
// goes; it cannot be copied, so no stray copy outlives it.
class Password
{
public:
    explicit Password(QByteArray bytes);
    ~Password();
    Password(Password &&other) noexcept;
    Password &operator=(Password &&other) noexcept;
    Password(const Password &) = delete;
    Password &operator=(const Password &) = delete;

    QByteArrayView bytes() const { return m_bytes; }
    bool isEmpty() const { return m_bytes.isEmpty(); }
    bool operator==(const Password &other) const { return m_bytes == other.m_bytes; }

private:
    QByteArray m_bytes;
};
