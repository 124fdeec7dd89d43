#pragma once

// libcrypto's Blowfish as an independent reference for ours. Its blocks are big-endian
// halves, ours little-endian, so the bytes of every 32-bit half are reversed on the way in
// and out.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/blowfish.h>

#include <QByteArray>
#include <QByteArrayView>

#include <algorithm>

namespace vaultbase::test {

inline QByteArray swapHalves(QByteArray bytes)
{
    for (qsizetype i = 0; i + 4 <= bytes.size(); i += 4) {
        std::reverse(bytes.begin() + i, bytes.begin() + i + 4);
    }
    return bytes;
}

// Our ciphertext (or plaintext) of the whole blocks of data, computed by libcrypto.
inline QByteArray libcryptoEcb(QByteArrayView key, QByteArrayView data, bool encrypt)
{
    BF_KEY schedule;
    BF_set_key(&schedule, int(key.size()), reinterpret_cast<const unsigned char *>(key.data()));
    QByteArray blocks = swapHalves(data.first(data.size() / 8 * 8).toByteArray());
    auto *bytes = reinterpret_cast<unsigned char *>(blocks.data());
    for (qsizetype i = 0; i < blocks.size(); i += 8) {
        BF_ecb_encrypt(bytes + i, bytes + i, &schedule, encrypt ? BF_ENCRYPT : BF_DECRYPT);
    }
    return swapHalves(blocks);
}

} // namespace vaultbase::test
