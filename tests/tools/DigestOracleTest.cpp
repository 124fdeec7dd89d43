#include "TestRegistry.h"

#include "tools/Digest.h"

#include <QRandomGenerator>
#include <QTest>

#include <openssl/evp.h>
#include <openssl/provider.h>

#include <memory>

// libcrypto as the independent oracle: random messages of every length from 0 to 300
// bytes (every padding case of every block size) and a few of many blocks, fed whole and
// in random pieces across buffer boundaries, on both engines. libcrypto has no MD2; MD4
// sits in its legacy provider.
class DigestOracleTest : public QObject
{
    Q_OBJECT

    OSSL_PROVIDER *m_default = nullptr;
    OSSL_PROVIDER *m_legacy = nullptr;

    static const char *evpName(DigestAlgorithm algorithm)
    {
        switch (algorithm) {
        case DigestAlgorithm::Md4:
            return "MD4";
        case DigestAlgorithm::Md5:
            return "MD5";
        case DigestAlgorithm::Sha1:
            return "SHA1";
        case DigestAlgorithm::Sha224:
            return "SHA224";
        case DigestAlgorithm::Sha256:
            return "SHA256";
        case DigestAlgorithm::Sha384:
            return "SHA384";
        case DigestAlgorithm::Sha512:
            return "SHA512";
        case DigestAlgorithm::Sha3_224:
            return "SHA3-224";
        case DigestAlgorithm::Sha3_256:
            return "SHA3-256";
        case DigestAlgorithm::Sha3_384:
            return "SHA3-384";
        case DigestAlgorithm::Sha3_512:
            return "SHA3-512";
        default:
            return nullptr;
        }
    }

    static QByteArray oracle(EVP_MD *md, const QByteArray &bytes)
    {
        unsigned char out[EVP_MAX_MD_SIZE];
        unsigned int size = 0;
        if (EVP_Digest(bytes.constData(), std::size_t(bytes.size()), out, &size, md, nullptr) != 1) {
            return {};
        }
        return QByteArray(reinterpret_cast<const char *>(out), int(size));
    }

    static QByteArray randomBytes(QRandomGenerator &random, qsizetype size)
    {
        QByteArray bytes(size, Qt::Uninitialized);
        for (char &byte : bytes) {
            byte = char(random.bounded(256));
        }
        return bytes;
    }

    // Feeds bytes in random pieces (empty ones included), so the partial-block buffer is
    // filled, emptied and bypassed in every order.
    static QByteArray inPieces(Digest &digest, const QByteArray &bytes, QRandomGenerator &random,
                               int largestPiece)
    {
        qsizetype at = 0;
        while (at < bytes.size()) {
            const qsizetype take = std::min<qsizetype>(random.bounded(largestPiece + 1), bytes.size() - at);
            digest.update(bytes.constData() + at, std::size_t(take));
            at += take;
        }
        return digest.final();
    }

private slots:
    void initTestCase()
    {
        // Loading one provider by hand stops libcrypto loading the default one by itself.
        m_default = OSSL_PROVIDER_load(nullptr, "default");
        QVERIFY(m_default);
        m_legacy = OSSL_PROVIDER_load(nullptr, "legacy");
    }

    void cleanupTestCase()
    {
        if (m_legacy) {
            OSSL_PROVIDER_unload(m_legacy);
        }
        if (m_default) {
            OSSL_PROVIDER_unload(m_default);
        }
    }

    void matchesLibcrypto_data()
    {
        QTest::addColumn<int>("algorithm");
        QTest::addColumn<int>("engine");
        for (int index = int(DigestAlgorithm::Md4); index < DigestAlgorithmCount; ++index) {
            for (DigestEngine engine : {DigestEngine::Fastest, DigestEngine::Portable}) {
                QTest::addRow("%s %s", digestName(DigestAlgorithm(index)),
                              engine == DigestEngine::Fastest ? "fastest" : "portable")
                    << index << int(engine);
            }
        }
    }

    void matchesLibcrypto()
    {
        QFETCH(int, algorithm);
        QFETCH(int, engine);
        const auto which = DigestAlgorithm(algorithm);
        if (which == DigestAlgorithm::Md4 && !m_legacy) {
            QSKIP("libcrypto's legacy provider is not available: MD4 rests on RFC 1320's vectors");
        }
        const std::unique_ptr<EVP_MD, decltype(&EVP_MD_free)> md(EVP_MD_fetch(nullptr, evpName(which), nullptr),
                                                                 &EVP_MD_free);
        QVERIFY2(md, evpName(which));
        const auto digest = Digest::create(which, DigestEngine(engine));
        QRandomGenerator random(quint32(algorithm * 7919 + engine));

        QList<qsizetype> lengths;
        for (qsizetype length = 0; length <= 300; ++length) {
            lengths.append(length);
        }
        lengths << 1000 << 4096 + 17 << 65536 + 3; // many whole blocks in one update
        for (qsizetype length : lengths) {
            const QByteArray bytes = randomBytes(random, length);
            const QByteArray expected = oracle(md.get(), bytes);
            QCOMPARE(expected.size(), digest->digestSize());

            digest->update(bytes);
            QVERIFY2(digest->final() == expected, qPrintable(QStringLiteral("whole, length %1").arg(length)));
            const int largestPiece = length > 1000 ? 700 : digest->blockSize() + 5;
            QVERIFY2(inPieces(*digest, bytes, random, largestPiece) == expected,
                     qPrintable(QStringLiteral("in pieces, length %1").arg(length)));
        }
    }
};

VAULTBASE_TEST(DigestOracleTest)
#include "DigestOracleTest.moc"
