#include "Encryption.h"

#include "Blowfish.h"
#include "platform/RegularFile.h"
#include "platform/SecretFile.h"
#include "platform/SecureMemory.h"

#include <cstring>

namespace {

qsizetype roundUpToBlock(qsizetype size)
{
    return (size + Blowfish::BlockSize - 1) / Blowfish::BlockSize * Blowfish::BlockSize;
}

qsizetype roundDownToBlock(qsizetype size)
{
    return size / Blowfish::BlockSize * Blowfish::BlockSize;
}

} // namespace

std::optional<QByteArray> encryptBuffer(QByteArrayView bytes, QByteArrayView key)
{
    if (key.isEmpty()) {
        return std::nullopt;
    }
    const qsizetype size = roundUpToBlock(bytes.size());
    QByteArray cipher(size, Qt::Uninitialized);
    if (!bytes.isEmpty()) {
        std::memcpy(cipher.data(), bytes.data(), size_t(bytes.size()));
    }
    std::memset(cipher.data() + bytes.size(), 0, size_t(size - bytes.size()));
    // The plaintext copy turns into ciphertext where it lies.
    Blowfish(key).encrypt(cipher.data(), cipher.size());
    return cipher;
}

bool encryptToFile(QByteArrayView bytes, const QString &path, QByteArrayView key)
{
    const std::optional<QByteArray> cipher = encryptBuffer(bytes, key);
    return cipher && SecretFile::write(path, *cipher);
}

std::optional<QByteArray> decryptBuffer(QByteArrayView bytes, QByteArrayView key)
{
    if (key.isEmpty()) {
        return std::nullopt;
    }
    QByteArray plain(bytes.first(roundDownToBlock(bytes.size())).toByteArray());
    Blowfish(key).decrypt(plain.data(), plain.size());
    return plain;
}

bool decryptInPlace(QByteArray &bytes, QByteArrayView key)
{
    if (key.isEmpty()) {
        return false;
    }
    bytes.truncate(roundDownToBlock(bytes.size()));
    if (bytes.isEmpty()) {
        return true;
    }
    // data() detaches first, so other copies of the ciphertext stay ciphertext.
    Blowfish(key).decrypt(bytes.data(), bytes.size());
    return true;
}

std::optional<QByteArray> decryptFile(const QString &path, QByteArrayView key, qint64 maxBytes)
{
    if (key.isEmpty()) {
        return std::nullopt;
    }
    std::optional<QByteArray> bytes = RegularFile::read(path, maxBytes);
    if (!bytes || bytes->isEmpty()) {
        return std::nullopt;
    }
    decryptInPlace(*bytes, key);
    return bytes;
}
