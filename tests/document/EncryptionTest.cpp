#include "LibcryptoBlowfish.h"
#include "FileMode.h"
#include "TestRegistry.h"

#include "document/Encryption.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using vaultbase::test::libcryptoEcb;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class EncryptionTest : public QObject
{
    Q_OBJECT

private slots:
    // A final partial block is completed with zeros; nothing is added to whole blocks.
    void paddingToWholeBlocks_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("cipherSize");
        QTest::newRow("empty") << 0 << 0;
        QTest::newRow("one") << 1 << 8;
        QTest::newRow("one block") << 8 << 8;
        QTest::newRow("thirteen") << 13 << 16;
        QTest::newRow("two blocks") << 16 << 16;
        QTest::newRow("one more") << 17 << 24;
    }

    void paddingToWholeBlocks()
    {
        QFETCH(int, size);
        QFETCH(int, cipherSize);
        const QByteArray plain = QByteArray("CLASS_TABLE V1.000VLB").repeated(2).first(size);
        const QByteArray key("password");

        const std::optional<QByteArray> cipher = encryptBuffer(plain, key);
        QVERIFY(cipher);
        QCOMPARE(cipher->size(), cipherSize);
        QByteArray padded = plain + QByteArray(cipherSize - size, '\0');
        QCOMPARE(*cipher, libcryptoEcb(key, padded, true));

        const std::optional<QByteArray> back = decryptBuffer(*cipher, key);
        QVERIFY(back);
        QCOMPARE(*back, padded);
        QCOMPARE(back->constData()[back->size()], '\0'); // readers may rely on a terminator

        QByteArray inPlace = *cipher;
        QVERIFY(decryptInPlace(inPlace, key));
        QCOMPARE(inPlace, padded);
    }

    void sameKeySameFirstBlock()
    {
        const QByteArray magic("CLASS_TABLE V1.000VLB");
        const auto first = encryptBuffer(magic + "one database", "secret");
        const auto second = encryptBuffer(magic + "another database entirely", "secret");
        const auto otherKey = encryptBuffer(magic + "one database", "secreT");
        QCOMPARE(first->first(16), second->first(16));
        QVERIFY(first->first(8) != otherKey->first(8));
    }

    void emptyKeyIsRefused()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("db.kvdb");
        QVERIFY(!encryptBuffer("plain", {}));
        QVERIFY(!encryptToFile("plain", path, {}));
        QVERIFY(!QFile::exists(path));

        QVERIFY(writeFile(path, QByteArray(16, 'x')));
        QVERIFY(!decryptBuffer(QByteArray(16, 'x'), {}));
        QVERIFY(!decryptFile(path, {}));
        QByteArray bytes(16, 'x');
        QVERIFY(!decryptInPlace(bytes, {}));
        QCOMPARE(bytes, QByteArray(16, 'x'));
    }

    void fileRoundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("db.kvdb");
        const QByteArray plain = QByteArray("<CLASS_TABLE_ROWS>\xe4\xf6\xfc</CLASS_TABLE_ROWS>") + '\0';
        QVERIFY(encryptToFile(plain, path, "p\xe4ss"));
        QCOMPARE(QFile(path).size(), 48);
        QCOMPARE(vaultbase::test::fileMode(path), 0600);
        QCOMPARE(fileBytes(path), *encryptBuffer(plain, "p\xe4ss"));

        const std::optional<QByteArray> back = decryptFile(path, "p\xe4ss");
        QVERIFY(back);
        QCOMPARE(*back, plain + QByteArray(48 - plain.size(), '\0'));

        // A second save replaces the file whole, a shorter one too.
        QVERIFY(encryptToFile("short", path, "p\xe4ss"));
        QCOMPARE(QFile(path).size(), 8);
        QCOMPARE(decryptFile(path, "p\xe4ss")->first(5), QByteArray("short"));
    }

    void missingEmptyOrUnwritableFiles()
    {
        QTemporaryDir dir;
        QVERIFY(!decryptFile(dir.filePath("missing.kvdb"), "key"));
        QVERIFY(!decryptFile(dir.path(), "key"));

        // An empty plaintext gives an empty file, which does not read back.
        const QString empty = dir.filePath("empty.kvdb");
        QVERIFY(encryptToFile({}, empty, "key"));
        QVERIFY(QFile::exists(empty));
        QCOMPARE(QFile(empty).size(), 0);
        QVERIFY(!decryptFile(empty, "key"));

        QVERIFY(!encryptToFile("plain", dir.filePath("no/such/folder/db.kvdb"), "key"));
    }

    // Ciphertext that is not whole blocks: the whole blocks decrypt, the tail is dropped.
    void partialCiphertextBlock()
    {
        const QByteArray plain("sixteen bytes!!!");
        const QByteArray cipher = *encryptBuffer(plain, "key");
        const QByteArray damaged = cipher + "tail5";

        QCOMPARE(*decryptBuffer(damaged, "key"), plain);
        QByteArray inPlace = damaged;
        QVERIFY(decryptInPlace(inPlace, "key"));
        QCOMPARE(inPlace, plain);

        QTemporaryDir dir;
        const QString path = dir.filePath("damaged.kvdb");
        QVERIFY(writeFile(path, damaged));
        QCOMPARE(*decryptFile(path, "key"), plain);

        QVERIFY(writeFile(path, "tiny"));
        const std::optional<QByteArray> nothingWhole = decryptFile(path, "key");
        QVERIFY(nothingWhole);
        QVERIFY(nothingWhole->isEmpty());
        QCOMPARE(decryptBuffer("1234567", "key")->size(), 0);
    }

    void inPlaceLeavesSharedCopiesAlone()
    {
        const QByteArray cipher = *encryptBuffer("eight by", "key");
        QByteArray shared = cipher;
        QVERIFY(decryptInPlace(shared, "key"));
        QCOMPARE(shared, QByteArray("eight by"));
        QCOMPARE(cipher, *encryptBuffer("eight by", "key"));
    }
};

VAULTBASE_TEST(EncryptionTest)
#include "EncryptionTest.moc"
