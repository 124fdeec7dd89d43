#include "FileMode.h"
#include "TestRegistry.h"

#include "document/Encryption.h"
#include "document/KeyFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class KeyFileTest : public QObject
{
    Q_OBJECT

private slots:
    // The plaintext is three times the password's length: password, NUL, zeros; then
    // padded to whole blocks.
    void layoutAndRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<int>("fileSize");
        QTest::newRow("one byte") << QByteArray("x") << 8;
        QTest::newRow("six characters") << QByteArray("s3cr3t") << 24;
        QTest::newRow("eight") << QByteArray("12345678") << 24;
        QTest::newRow("code page bytes") << QByteArray("\x80\xe4\xff pass") << 24;
        QTest::newRow("long") << QByteArray("long password ").repeated(9) << 384;
    }

    void layoutAndRoundTrip()
    {
        QFETCH(QByteArray, password);
        QFETCH(int, fileSize);
        QTemporaryDir dir;
        const QString path = dir.filePath("Bank.kvky");

        QVERIFY(writeKeyFile(path, password));
        QCOMPARE(QFile(path).size(), fileSize);
        QCOMPARE(vaultbase::test::fileMode(path), 0600);
        const std::optional<QByteArray> plain = decryptFile(path, keyFileKey());
        QVERIFY(plain);
        QCOMPARE(*plain, password + QByteArray(fileSize - password.size(), '\0'));

        const std::optional<QByteArray> read = readKeyFile(path);
        QVERIFY(read);
        QCOMPARE(*read, password);
    }

    void refusals()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("empty.kvky");
        QVERIFY(!writeKeyFile(path, {}));
        QVERIFY(!QFile::exists(path));
        QVERIFY(!readKeyFile(path));

        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(!readKeyFile(path));

        // Plaintext that begins with NUL holds no password.
        QVERIFY(encryptToFile(QByteArray(8, '\0'), path, keyFileKey()));
        QVERIFY(!readKeyFile(path));

        // Only small regular files: no key file is larger than 64 KiB, and a device or a
        // named pipe is refused without being waited on or read without end.
        QVERIFY(encryptToFile("big" + QByteArray(MaxKeyFileSize, '\0'), path, keyFileKey()));
        QVERIFY(!readKeyFile(path));
        QVERIFY(!readKeyFile(QStringLiteral("/dev/zero")));
        const QString pipe = dir.filePath("pipe.kvky");
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QVERIFY(!readKeyFile(pipe));
    }

    // Any file decrypts to some text; without a NUL the whole plaintext is taken.
    void foreignFileWithoutTerminator()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("foreign.kvky");
        QVERIFY(encryptToFile("0123456789abcdef", path, keyFileKey()));
        QCOMPARE(*readKeyFile(path), QByteArray("0123456789abcdef"));
    }

    void lookup()
    {
        QTemporaryDir dir;
        const QString database = dir.filePath("Bank.kvdb");
        const QString named = dir.filePath("Bank.kvky");
        const QString fallback = dir.filePath("Default.kvky");
        QCOMPARE(findKeyFileFor(database), QString());
        QVERIFY(!keyFilePasswordFor(database));

        QVERIFY(writeKeyFile(fallback, "default password"));
        QCOMPARE(findKeyFileFor(database), fallback);
        QCOMPARE(*keyFilePasswordFor(database), QByteArray("default password"));

        QVERIFY(writeKeyFile(named, "bank password"));
        QCOMPARE(findKeyFileFor(database), named);
        QCOMPARE(*keyFilePasswordFor(database), QByteArray("bank password"));

        // Only the last extension of the file name is replaced.
        QVERIFY(QDir(dir.path()).mkpath("my.folder"));
        const QString dotted = dir.filePath("my.folder/old.Bank.kvdb");
        QVERIFY(writeKeyFile(dir.filePath("my.folder/old.Bank.kvky"), "dotted"));
        QCOMPARE(findKeyFileFor(dotted), dir.filePath("my.folder/old.Bank.kvky"));
        QCOMPARE(findKeyFileFor(dir.filePath("my.folder/plain")), QString());
        QVERIFY(writeKeyFile(dir.filePath("my.folder/plain.kvky"), "no extension"));
        QCOMPARE(findKeyFileFor(dir.filePath("my.folder/plain")), dir.filePath("my.folder/plain.kvky"));

        // A folder with a key file's name is not a key file.
        QVERIFY(QDir(dir.path()).mkpath("sub/Default.kvky"));
        QCOMPARE(findKeyFileFor(dir.filePath("sub/Other.kvdb")), QString());
    }
};

VAULTBASE_TEST(KeyFileTest)
#include "KeyFileTest.moc"
