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

        QVERIFY(WriteKeyFile(path, password));
        QCOMPARE(QFile(path).size(), fileSize);
        QCOMPARE(vaultbase::test::fileMode(path), 0600);
        const std::optional<QByteArray> plain = DecryptFile(path, KeyFileKey());
        QVERIFY(plain);
        QCOMPARE(*plain, password + QByteArray(fileSize - password.size(), '\0'));

        const std::optional<QByteArray> read = ReadKeyFile(path);
        QVERIFY(read);
        QCOMPARE(*read, password);
    }

    void refusals()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("empty.kvky");
        QVERIFY(!WriteKeyFile(path, {}));
        QVERIFY(!QFile::exists(path));
        QVERIFY(!ReadKeyFile(path));

        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(!ReadKeyFile(path));

        // Plaintext that begins with NUL holds no password.
        QVERIFY(EncryptToFile(QByteArray(8, '\0'), path, KeyFileKey()));
        QVERIFY(!ReadKeyFile(path));

        // Only small regular files: no key file is larger than 64 KiB, and a device or a
        // named pipe is refused without being waited on or read without end.
        QVERIFY(EncryptToFile("big" + QByteArray(MaxKeyFileSize, '\0'), path, KeyFileKey()));
        QVERIFY(!ReadKeyFile(path));
        QVERIFY(!ReadKeyFile(QStringLiteral("/dev/zero")));
        const QString pipe = dir.filePath("pipe.kvky");
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QVERIFY(!ReadKeyFile(pipe));
    }

    // Any file decrypts to some text; without a NUL the whole plaintext is taken.
    void foreignFileWithoutTerminator()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("foreign.kvky");
        QVERIFY(EncryptToFile("0123456789abcdef", path, KeyFileKey()));
        QCOMPARE(*ReadKeyFile(path), QByteArray("0123456789abcdef"));
    }

    void lookup()
    {
        QTemporaryDir dir;
        const QString database = dir.filePath("Bank.kvdb");
        const QString named = dir.filePath("Bank.kvky");
        const QString fallback = dir.filePath("Default.kvky");
        QCOMPARE(FindKeyFileFor(database), QString());
        QVERIFY(!KeyFilePasswordFor(database));

        QVERIFY(WriteKeyFile(fallback, "default password"));
        QCOMPARE(FindKeyFileFor(database), fallback);
        QCOMPARE(*KeyFilePasswordFor(database), QByteArray("default password"));

        QVERIFY(WriteKeyFile(named, "bank password"));
        QCOMPARE(FindKeyFileFor(database), named);
        QCOMPARE(*KeyFilePasswordFor(database), QByteArray("bank password"));

        // Only the last extension of the file name is replaced.
        QVERIFY(QDir(dir.path()).mkpath("my.folder"));
        const QString dotted = dir.filePath("my.folder/old.Bank.kvdb");
        QVERIFY(WriteKeyFile(dir.filePath("my.folder/old.Bank.kvky"), "dotted"));
        QCOMPARE(FindKeyFileFor(dotted), dir.filePath("my.folder/old.Bank.kvky"));
        QCOMPARE(FindKeyFileFor(dir.filePath("my.folder/plain")), QString());
        QVERIFY(WriteKeyFile(dir.filePath("my.folder/plain.kvky"), "no extension"));
        QCOMPARE(FindKeyFileFor(dir.filePath("my.folder/plain")), dir.filePath("my.folder/plain.kvky"));

        // A folder with a key file's name is not a key file.
        QVERIFY(QDir(dir.path()).mkpath("sub/Default.kvky"));
        QCOMPARE(FindKeyFileFor(dir.filePath("sub/Other.kvdb")), QString());
    }
};

VAULTBASE_TEST(KeyFileTest)
#include "KeyFileTest.moc"
