#pragma once

#include "BlowfishConstants.h"

#include <QByteArrayView>
#include <QtGlobal>

// Blowfish with 16 rounds in electronic-codebook mode, as databases and key files use it.
// Each 8-byte block is two 32-bit halves stored least significant byte first (bytes 0-3
// the left half, bytes 4-7 the right half). The keyed context lives in the object and is
// wiped when the object goes.
class Blowfish
{
public:
    static constexpr qsizetype BlockSize = 8;
    // Key bytes beyond this many have no effect on the schedule.
    static constexpr qsizetype MaxKeyLength = 72;

    // Runs the key schedule. Callers refuse an empty key before getting here; given one
    // anyway, the context keeps the unkeyed constants mixed by the schedule's encryptions.
    explicit Blowfish(QByteArrayView key);
    ~Blowfish();

    Blowfish(const Blowfish &) = delete;
    Blowfish &operator=(const Blowfish &) = delete;

    // Encrypt or decrypt the whole blocks of data in place. A trailing partial block
    // (size not a multiple of 8) is left untouched; nothing beyond data + size is accessed.
    void encrypt(char *data, qsizetype size) const;
    void decrypt(char *data, qsizetype size) const;

    void encryptBlock(quint32 &left, quint32 &right) const;
    void decryptBlock(quint32 &left, quint32 &right) const;

    // True when both contexts hold the same subkeys and boxes.
    bool hasSameSchedule(const Blowfish &other) const;

private:
    struct Context {
        quint32 p[BlowfishConstants::SubkeyCount];
        quint32 s[BlowfishConstants::BoxCount][BlowfishConstants::BoxSize];
    };

    void schedule(QByteArrayView key);

    Context m_context;
};
