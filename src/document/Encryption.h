#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <limits>
#include <optional>

// How databases and key files apply Blowfish: the key is the password's bytes, blocks are
// encrypted one by one (electronic codebook), and a final partial block is completed with
// zero bytes. Nothing records the padding; the formats inside tolerate trailing zeros.
// Every function refuses an empty key. A wrong key is not detected here: it decrypts to
// noise that the stream readers reject.
//
// Ciphertext whose length is not a multiple of 8 never comes from this program (a damaged
// or foreign file): its whole blocks are decrypted and the trailing partial block is
// dropped, so the plaintext is the length rounded down to a multiple of 8.
//
// Returned buffers are QByteArrays, which always keep a NUL byte after their last byte,
// so a reader of the plaintext can rely on that terminator.

// The ciphertext of bytes; its length is bytes.size() rounded up to a multiple of 8.
std::optional<QByteArray> encryptBuffer(QByteArrayView bytes, QByteArrayView key);

// Encrypts and replaces the whole file at path atomically with an owner-only file. False
// for an empty key or when the file cannot be written; the old file then survives.
bool encryptToFile(QByteArrayView bytes, const QString &path, QByteArrayView key);

std::optional<QByteArray> decryptBuffer(QByteArrayView bytes, QByteArrayView key);

// Decrypts bytes in place, sparing a second buffer the size of a big database.
bool decryptInPlace(QByteArray &bytes, QByteArrayView key);

// Reads and decrypts the whole file. Nothing for an empty key, a file that cannot be
// opened, an empty file, or one that is no regular file or has more than maxBytes bytes.
std::optional<QByteArray> decryptFile(const QString &path, QByteArrayView key,
                                      qint64 maxBytes = std::numeric_limits<qint64>::max());
