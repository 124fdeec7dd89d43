#include "TestRegistry.h"

#include "tools/CpuFeatures.h"
#include "tools/Digest.h"
#include "tools/DigestSha1.h"
#include "tools/DigestSha2.h"

#include <QTest>

#include <climits>

// The published test vectors of each standard: the RFC 1319-1321 test suites, the FIPS
// 180-4 examples ("abc", the 448-bit and 896-bit messages) with the empty message and a
// million "a", and the same messages plus the 1600-bit 0xA3 message for FIPS 202.
class DigestTest : public QObject
{
    Q_OBJECT

    static QByteArray message(const QByteArray &name)
    {
        if (name == "million-a") {
            return QByteArray(1000000, 'a');
        }
        if (name == "a3x200") {
            return QByteArray(200, char(0xa3));
        }
        if (name == "448-bit") {
            return "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
        }
        if (name == "896-bit") {
            return "abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrs"
                   "mnopqrstnopqrstu";
        }
        if (name == "1234567890x8") {
            return QByteArray("1234567890").repeated(8);
        }
        if (name == "A-Za-z0-9") {
            return "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
        }
        if (name == "a-z") {
            return "abcdefghijklmnopqrstuvwxyz";
        }
        return name == "empty" ? QByteArray() : name;
    }

    static void addRow(DigestAlgorithm algorithm, const char *name, const char *hex)
    {
        for (DigestEngine engine : {DigestEngine::Fastest, DigestEngine::Portable}) {
            QTest::addRow("%s %s %s", digestName(algorithm), name,
                          engine == DigestEngine::Fastest ? "fastest" : "portable")
                << int(algorithm) << int(engine) << QByteArray(name) << QByteArray(hex);
        }
    }

    static void addRfcSuite(DigestAlgorithm algorithm, const char *const hexes[7])
    {
        const char *const names[7] = {"empty", "a", "abc", "message digest", "a-z", "A-Za-z0-9", "1234567890x8"};
        for (int i = 0; i < 7; ++i) {
            addRow(algorithm, names[i], hexes[i]);
        }
    }

    static void addFipsSuite(DigestAlgorithm algorithm, const char *const hexes[5])
    {
        const char *const names[5] = {"empty", "abc", "448-bit", "896-bit", "million-a"};
        for (int i = 0; i < 5; ++i) {
            addRow(algorithm, names[i], hexes[i]);
        }
    }

private slots:
    void publishedVectors_data()
    {
        QTest::addColumn<int>("algorithm");
        QTest::addColumn<int>("engine");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("expected");

        const char *const md2[7] = {"8350e5a3e24c153df2275c9f80692773", "32ec01ec4a6dac72c0ab96fb34c0b5d1",
                                    "da853b0d3f88d99b30283a69e6ded6bb", "ab4f496bfb2a530b219ff33031fe06b0",
                                    "4e8ddff3650292ab5a4108c3aa47940b", "da33def2a42df13975352846c30338cd",
                                    "d5976f79d83d3a0dc9806c3c66f3efd8"};
        const char *const md4[7] = {"31d6cfe0d16ae931b73c59d7e0c089c0", "bde52cb31de33e46245e05fbdbd6fb24",
                                    "a448017aaf21d8525fc10ae87aa6729d", "d9130a8164549fe818874806e1c7014b",
                                    "d79e1c308aa5bbcdeea8ed63df412da9", "043f8582f241db351ce627e153e7f0e4",
                                    "e33b4ddc9c38f2199c3e7b164fcc0536"};
        const char *const md5[7] = {"d41d8cd98f00b204e9800998ecf8427e", "0cc175b9c0f1b6a831c399e269772661",
                                    "900150983cd24fb0d6963f7d28e17f72", "f96b697d7cb7938d525a2f31aaf161d0",
                                    "c3fcd3d76192e4007dfb496cca67e13b", "d174ab98d277d9f5a5611c2c9f419d9f",
                                    "57edf4a22be3c955ac49da2e2107b67a"};
        addRfcSuite(DigestAlgorithm::Md2, md2);
        addRfcSuite(DigestAlgorithm::Md4, md4);
        addRfcSuite(DigestAlgorithm::Md5, md5);

        const char *const sha1[5] = {"da39a3ee5e6b4b0d3255bfef95601890afd80709",
                                     "a9993e364706816aba3e25717850c26c9cd0d89d",
                                     "84983e441c3bd26ebaae4aa1f95129e5e54670f1",
                                     "a49b2446a02c645bf419f995b67091253a04a259",
                                     "34aa973cd4c4daa4f61eeb2bdbad27316534016f"};
        const char *const sha224[5] = {"d14a028c2a3a2bc9476102bb288234c415a2b01f828ea62ac5b3e42f",
                                       "23097d223405d8228642a477bda255b32aadbce4bda0b3f7e36c9da7",
                                       "75388b16512776cc5dba5da1fd890150b0c6455cb4f58b1952522525",
                                       "c97ca9a559850ce97a04a96def6d99a9e0e0e2ab14e6b8df265fc0b3",
                                       "20794655980c91d8bbb4c1ea97618a4bf03f42581948b2ee4ee7ad67"};
        const char *const sha256[5] = {"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855",
                                       "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad",
                                       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1",
                                       "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1",
                                       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"};
        const char *const sha384[5] = {
            "38b060a751ac96384cd9327eb1b1e36a21fdb71114be07434c0cc7bf63f6e1da274edebfe76f65fbd51ad2f14898b95b",
            "cb00753f45a35e8bb5a03d699ac65007272c32ab0eded1631a8b605a43ff5bed8086072ba1e7cc2358baeca134c825a7",
            "3391fdddfc8dc7393707a65b1b4709397cf8b1d162af05abfe8f450de5f36bc6b0455a8520bc4e6f5fe95b1fe3c8452b",
            "09330c33f71147e83d192fc782cd1b4753111b173b3b05d22fa08086e3b0f712fcc7c71a557e2db966c3e9fa91746039",
            "9d0e1809716474cb086e834e310a4a1ced149e9c00f248527972cec5704c2a5b07b8b3dc38ecc4ebae97ddd87f3d8985"};
        const char *const sha512[5] = {
            "cf83e1357eefb8bdf1542850d66d8007d620e4050b5715dc83f4a921d36ce9ce"
            "47d0d13c5d85f2b0ff8318d2877eec2f63b931bd47417a81a538327af927da3e",
            "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a"
            "2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f",
            "204a8fc6dda82f0a0ced7beb8e08a41657c16ef468b228a8279be331a703c335"
            "96fd15c13b1b07f9aa1d3bea57789ca031ad85c7a71dd70354ec631238ca3445",
            "8e959b75dae313da8cf4f72814fc143f8f7779c6eb9f7fa17299aeadb6889018"
            "501d289e4900f7e4331b99dec4b5433ac7d329eeb6dd26545e96e55b874be909",
            "e718483d0ce769644e2e42c7bc15b4638e1f98b13b2044285632a803afa973eb"
            "de0ff244877ea60a4cb0432ce577c31beb009c5c2c49aa2e4eadb217ad8cc09b"};
        addFipsSuite(DigestAlgorithm::Sha1, sha1);
        addFipsSuite(DigestAlgorithm::Sha224, sha224);
        addFipsSuite(DigestAlgorithm::Sha256, sha256);
        addFipsSuite(DigestAlgorithm::Sha384, sha384);
        addFipsSuite(DigestAlgorithm::Sha512, sha512);

        const char *const sha3_224[5] = {"6b4e03423667dbb73b6e15454f0eb1abd4597f9a1b078e3f5b5a6bc7",
                                         "e642824c3f8cf24ad09234ee7d3c766fc9a3a5168d0c94ad73b46fdf",
                                         "8a24108b154ada21c9fd5574494479ba5c7e7ab76ef264ead0fcce33",
                                         "543e6868e1666c1a643630df77367ae5a62a85070a51c14cbf665cbc",
                                         "d69335b93325192e516a912e6d19a15cb51c6ed5c15243e7a7fd653c"};
        const char *const sha3_256[5] = {"a7ffc6f8bf1ed76651c14756a061d662f580ff4de43b49fa82d80a4b80f8434a",
                                         "3a985da74fe225b2045c172d6bd390bd855f086e3e9d525b46bfe24511431532",
                                         "41c0dba2a9d6240849100376a8235e2c82e1b9998a999e21db32dd97496d3376",
                                         "916f6061fe879741ca6469b43971dfdb28b1a32dc36cb3254e812be27aad1d18",
                                         "5c8875ae474a3634ba4fd55ec85bffd661f32aca75c6d699d0cdcb6c115891c1"};
        const char *const sha3_384[5] = {
            "0c63a75b845e4f7d01107d852e4c2485c51a50aaaa94fc61995e71bbee983a2ac3713831264adb47fb6bd1e058d5f004",
            "ec01498288516fc926459f58e2c6ad8df9b473cb0fc08c2596da7cf0e49be4b298d88cea927ac7f539f1edf228376d25",
            "991c665755eb3a4b6bbdfb75c78a492e8c56a22c5c4d7e429bfdbc32b9d4ad5aa04a1f076e62fea19eef51acd0657c22",
            "79407d3b5916b59c3e30b09822974791c313fb9ecc849e406f23592d04f625dc8c709b98b43b3852b337216179aa7fc7",
            "eee9e24d78c1855337983451df97c8ad9eedf256c6334f8e948d252d5e0e76847aa0774ddb90a842190d2c558b4b8340"};
        const char *const sha3_512[5] = {
            "a69f73cca23a9ac5c8b567dc185a756e97c982164fe25859e0d1dcc1475c80a6"
            "15b2123af1f5f94c11e3e9402c3ac558f500199d95b6d3e301758586281dcd26",
            "b751850b1a57168a5693cd924b6b096e08f621827444f70d884f5d0240d2712e"
            "10e116e9192af3c91a7ec57647e3934057340b4cf408d5a56592f8274eec53f0",
            "04a371e84ecfb5b8b77cb48610fca8182dd457ce6f326a0fd3d7ec2f1e91636d"
            "ee691fbe0c985302ba1b0d8dc78c086346b533b49c030d99a27daf1139d6e75e",
            "afebb2ef542e6579c50cad06d2e578f9f8dd6881d7dc824d26360feebf18a4fa"
            "73e3261122948efcfd492e74e82e2189ed0fb440d187f382270cb455f21dd185",
            "3c3a876da14034ab60627c077bb98f7e120a2a5370212dffb3385a18d4f38859"
            "ed311d0a9d5141ce9cc5c66ee689b266a8aa18ace8282a0e0db596c90b0a7b87"};
        addFipsSuite(DigestAlgorithm::Sha3_224, sha3_224);
        addFipsSuite(DigestAlgorithm::Sha3_256, sha3_256);
        addFipsSuite(DigestAlgorithm::Sha3_384, sha3_384);
        addFipsSuite(DigestAlgorithm::Sha3_512, sha3_512);
        // FIPS 202's 1600-bit example: 200 bytes of 0xA3, more than one block at every rate.
        addRow(DigestAlgorithm::Sha3_224, "a3x200", "9376816aba503f72f96ce7eb65ac095deee3be4bf9bbc2a1cb7e11e0");
        addRow(DigestAlgorithm::Sha3_256, "a3x200", "79f38adec5c20307a98ef76e8324afbfd46cfd81b22e3973c65fa1bd9de31787");
        addRow(DigestAlgorithm::Sha3_384, "a3x200",
               "1881de2ca7e41ef95dc4732b8f5f002b189cc1e42b74168ed1732649ce1dbcdd76197a31fd55ee989f2d7050dd473e8f");
        addRow(DigestAlgorithm::Sha3_512, "a3x200",
               "e76dfad22084a8b1467fcf2ffa58361bec7628edf5f3fdc0e4805dc48caeeca8"
               "1b7c13c30adf52a3659584739a2df46be589c51ca1a4a8416df6545a1ce8ba00");
    }

    // Each vector whole, byte by byte (the partial-block buffer on every byte), and in
    // uneven pieces; the digest object is reused after final() to show it reset itself.
    void publishedVectors()
    {
        QFETCH(int, algorithm);
        QFETCH(int, engine);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, expected);
        const QByteArray bytes = message(name);
        const auto digest = Digest::create(DigestAlgorithm(algorithm), DigestEngine(engine));
        QVERIFY(digest);

        digest->update(bytes);
        QCOMPARE(digest->finalHex(), expected);

        if (bytes.size() <= 1000) {
            for (char byte : bytes) {
                digest->update(&byte, 1);
            }
            QCOMPARE(digest->finalHex(), expected);
        }

        qsizetype at = 0;
        for (qsizetype piece = 1; at < bytes.size(); piece = (piece * 37 + 11) % 4099) {
            const qsizetype take = std::min(piece, bytes.size() - at);
            digest->update(bytes.constData() + at, std::size_t(take));
            at += take;
        }
        QCOMPARE(digest->finalHex(), expected);
    }

    void comboOrderAndNames()
    {
        const QStringList items = {"-",           "MD2",         "MD4",         "MD5",         "SHA-1",
                                   "SHA-2 (224)", "SHA-2 (256)", "SHA-2 (384)", "SHA-2 (512)", "SHA-3 (224)",
                                   "SHA-3 (256)", "SHA-3 (384)", "SHA-3 (512)"};
        QCOMPARE(digestItemTexts(), items);
        QCOMPARE(DigestAlgorithmCount, int(items.size()));

        // Hex digits per algorithm, in combo order ("-" has none).
        const int hexDigits[13] = {0, 32, 32, 32, 40, 56, 64, 96, 128, 56, 64, 96, 128};
        const int blockSizes[13] = {0, 16, 64, 64, 64, 64, 64, 128, 128, 144, 136, 104, 72};
        for (int index = 1; index < DigestAlgorithmCount; ++index) {
            const auto algorithm = digestAlgorithmFromIndex(index);
            const auto digest = Digest::create(algorithm);
            QVERIFY(digest);
            QCOMPARE(digest->algorithm(), algorithm);
            QCOMPARE(digest->digestSize() * 2, hexDigits[index]);
            QCOMPARE(digest->finalHex().size(), hexDigits[index]);
            QCOMPARE(digest->blockSize(), blockSizes[index]);
            QCOMPARE(QString::fromLatin1(digestItemText(algorithm)), items[index]);

            // Found again by the standard's name in any case, and by the combo item.
            const QByteArray standard = digest->name();
            QCOMPARE(Digest::create(standard.constData())->algorithm(), algorithm);
            QCOMPARE(Digest::create(standard.toLower().constData())->algorithm(), algorithm);
            QCOMPARE(Digest::create(items[index].toStdString())->algorithm(), algorithm);
        }
        QCOMPARE(QByteArray(digestName(DigestAlgorithm::Sha3_256)), QByteArray("SHA3-256"));
        QCOMPARE(QByteArray(digestName(DigestAlgorithm::Sha224)), QByteArray("SHA-224"));
        QVERIFY(!Digest::create(DigestAlgorithm::None));
        QVERIFY(!Digest::create("-"));
        QVERIFY(!Digest::create("SHA-2"));
        QVERIFY(!Digest::create(""));
        QVERIFY(Digest::hash(DigestAlgorithm::None, "abc").isEmpty());
    }

    // A damaged "Checksum" setting must not pick an algorithm.
    void indexOutOfRangeIsNone()
    {
        for (int index : {-1, 0, 13, 14, 1000, INT_MIN, INT_MAX}) {
            QCOMPARE(digestAlgorithmFromIndex(index), DigestAlgorithm::None);
            QCOMPARE(QByteArray(digestItemText(DigestAlgorithm(index))), QByteArray("-"));
        }
        QCOMPARE(digestAlgorithmFromIndex(12), DigestAlgorithm::Sha3_512);
    }

    void resetDropsPartialInput()
    {
        for (int index = 1; index < DigestAlgorithmCount; ++index) {
            const auto algorithm = digestAlgorithmFromIndex(index);
            const auto digest = Digest::create(algorithm);
            digest->update(QByteArray(300, 'x'));
            digest->reset();
            digest->update(QByteArray("abc"));
            QCOMPARE(digest->final(), Digest::hash(algorithm, "abc"));
        }
    }

    // The processor's SHA extensions must really be taken when present, or the tests of the
    // fastest engine would only repeat the portable ones.
    void fastestEngineTakesShaExtensions()
    {
        if (!cpuHasShaExtensions()) {
            QSKIP("this processor has no SHA extensions");
        }
        QVERIFY(Sha1Digest().usesShaExtensions());
        QVERIFY(Sha256Digest(false).usesShaExtensions());
        QVERIFY(Sha256Digest(true).usesShaExtensions());
        QVERIFY(!Sha1Digest(DigestEngine::Portable).usesShaExtensions());
        QVERIFY(!Sha256Digest(false, DigestEngine::Portable).usesShaExtensions());
    }
};

VAULTBASE_TEST(DigestTest)
#include "DigestTest.moc"
