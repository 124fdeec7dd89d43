#include "tools/Digest.h"

#include "tools/DigestMd.h"
#include "tools/DigestSha1.h"
#include "tools/DigestSha2.h"
#include "tools/DigestSha3.h"

#include <QString>

#include <cctype>

namespace {

struct AlgorithmNames {
    const char *standard;
    const char *item;
};

// Indexed by DigestAlgorithm, which is the combo index.
constexpr AlgorithmNames Names[DigestAlgorithmCount] = {
    {"", "-"},
    {"MD2", "MD2"},
    {"MD4", "MD4"},
    {"MD5", "MD5"},
    {"SHA-1", "SHA-1"},
    {"SHA-224", "SHA-2 (224)"},
    {"SHA-256", "SHA-2 (256)"},
    {"SHA-384", "SHA-2 (384)"},
    {"SHA-512", "SHA-2 (512)"},
    {"SHA3-224", "SHA-3 (224)"},
    {"SHA3-256", "SHA-3 (256)"},
    {"SHA3-384", "SHA-3 (384)"},
    {"SHA3-512", "SHA-3 (512)"},
};

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

} // namespace

DigestAlgorithm digestAlgorithmFromIndex(int index)
{
    if (index <= 0 || index >= DigestAlgorithmCount) {
        return DigestAlgorithm::None;
    }
    return static_cast<DigestAlgorithm>(index);
}

const char *digestItemText(DigestAlgorithm algorithm)
{
    return Names[int(digestAlgorithmFromIndex(int(algorithm)))].item;
}

const char *digestName(DigestAlgorithm algorithm)
{
    return Names[int(digestAlgorithmFromIndex(int(algorithm)))].standard;
}

QStringList digestItemTexts()
{
    QStringList texts;
    for (const AlgorithmNames &names : Names) {
        texts.append(QString::fromLatin1(names.item));
    }
    return texts;
}

const char *Digest::name() const { return digestName(algorithm()); }

QByteArray Digest::final()
{
    QByteArray out(digestSize(), Qt::Uninitialized);
    final(reinterpret_cast<unsigned char *>(out.data()));
    return out;
}

QByteArray Digest::finalHex() { return final().toHex(); }

std::unique_ptr<Digest> Digest::create(DigestAlgorithm algorithm, DigestEngine engine)
{
    switch (algorithm) {
    case DigestAlgorithm::None:
        return nullptr;
    case DigestAlgorithm::Md2:
        return std::make_unique<Md2Digest>();
    case DigestAlgorithm::Md4:
        return std::make_unique<Md4Digest>();
    case DigestAlgorithm::Md5:
        return std::make_unique<Md5Digest>();
    case DigestAlgorithm::Sha1:
        return std::make_unique<Sha1Digest>(engine);
    case DigestAlgorithm::Sha224:
        return std::make_unique<Sha256Digest>(true, engine);
    case DigestAlgorithm::Sha256:
        return std::make_unique<Sha256Digest>(false, engine);
    case DigestAlgorithm::Sha384:
        return std::make_unique<Sha512Digest>(true, engine);
    case DigestAlgorithm::Sha512:
        return std::make_unique<Sha512Digest>(false, engine);
    case DigestAlgorithm::Sha3_224:
        return std::make_unique<Sha3Digest>(28, engine);
    case DigestAlgorithm::Sha3_256:
        return std::make_unique<Sha3Digest>(32, engine);
    case DigestAlgorithm::Sha3_384:
        return std::make_unique<Sha3Digest>(48, engine);
    case DigestAlgorithm::Sha3_512:
        return std::make_unique<Sha3Digest>(64, engine);
    }
    return nullptr;
}

std::unique_ptr<Digest> Digest::create(std::string_view name, DigestEngine engine)
{
    for (int i = 1; i < DigestAlgorithmCount; ++i) {
        if (equalsIgnoringCase(name, Names[i].standard) || equalsIgnoringCase(name, Names[i].item)) {
            return create(static_cast<DigestAlgorithm>(i), engine);
        }
    }
    return nullptr;
}

QByteArray Digest::hash(DigestAlgorithm algorithm, const QByteArray &bytes)
{
    const std::unique_ptr<Digest> digest = create(algorithm);
    if (!digest) {
        return {};
    }
    digest->update(bytes);
    return digest->final();
}
