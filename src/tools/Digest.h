#pragma once

#include <QByteArray>
#include <QStringList>

#include <cstddef>
#include <memory>
#include <string_view>

// The checksum algorithms in the order of the properties dialog's combo box. The value
// is the combo index, which the setting "Checksum" stores; None is the "-" item.
enum class DigestAlgorithm : int {
    None = 0,
    Md2,
    Md4,
    Md5,
    Sha1,
    Sha224,
    Sha256,
    Sha384,
    Sha512,
    Sha3_224,
    Sha3_256,
    Sha3_384,
    Sha3_512,
};

inline constexpr int DigestAlgorithmCount = 13; // combo items, "-" included

// The combo index read from settings as an algorithm; anything out of range is None.
DigestAlgorithm digestAlgorithmFromIndex(int index);

// The combo box item of an algorithm: "-", "MD2", ..., "SHA-2 (256)", ..., "SHA-3 (512)".
const char *digestItemText(DigestAlgorithm algorithm);

// All item texts in combo order, "-" first.
QStringList digestItemTexts();

// Which code computes the digests: Fastest takes what this processor offers (the SHA
// extensions for SHA-1 and SHA-224/256; AVX and BMI for SHA-384/512 and SHA-3); Portable
// always takes the code built for the plain x86-64 baseline. Both give the same digests.
enum class DigestEngine { Fastest, Portable };

// A message digest fed in pieces: update() as often as needed, then final().
class Digest
{
public:
    virtual ~Digest() = default;

    virtual DigestAlgorithm algorithm() const = 0;
    virtual int digestSize() const = 0; // bytes
    virtual int blockSize() const = 0;  // bytes taken per compression (the rate for SHA-3)
    virtual void reset() = 0;
    virtual void update(const void *data, std::size_t size) = 0;
    // Writes digestSize() bytes to out and resets, ready for the next message.
    virtual void final(unsigned char *out) = 0;

    // The standard's name: "MD5", "SHA-1", "SHA-256", "SHA3-256", ...
    const char *name() const;

    void update(const QByteArray &bytes) { update(bytes.constData(), std::size_t(bytes.size())); }
    QByteArray final();
    QByteArray finalHex(); // lower case, two digits per byte

    // nullptr for DigestAlgorithm::None.
    static std::unique_ptr<Digest> create(DigestAlgorithm algorithm,
                                          DigestEngine engine = DigestEngine::Fastest);
    // By the standard's name ("SHA-256", "sha3-256") or the combo item ("SHA-2 (256)");
    // nullptr for an unknown name.
    static std::unique_ptr<Digest> create(std::string_view name,
                                          DigestEngine engine = DigestEngine::Fastest);

    // One-shot digest of bytes; empty for DigestAlgorithm::None.
    static QByteArray hash(DigestAlgorithm algorithm, const QByteArray &bytes);
};

// The standard's name of an algorithm ("" for None).
const char *digestName(DigestAlgorithm algorithm);
