// Databases big enough for the paths that work piece by piece: loading while a worker
// thread decrypts, and saving while the tree is walked.
#include "LibcryptoBlowfish.h"
#include "TestRegistry.h"
#include "TreeHelpers.h"

#include "document/BackgroundDecryption.h"
#include "document/Blowfish.h"
#include "document/DatabaseFile.h"
#include "document/ElementTree.h"
#include "document/Encryption.h"
#include "document/TreeTable.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using vaultbase::test::saveFailing;
using vaultbase::test::treeDifference;

namespace {

const QByteArray Password("a password \xe4nd more");

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray randomBytes(quint32 seed, qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(seed);
    for (char &b : bytes) {
        b = char(random.bounded(256));
    }
    return bytes;
}

// Several times BackgroundDecryption::ThreadedFrom in plaintext: many small elements and
// one attachment whose stream cell spans many pieces.
void fillBigTree(ElementTree &tree)
{
    vaultbase::test::fillRandomTree(tree, 5, 4000);
    ElementData file;
    file.setBlob(randomBytes(9, 700 * 1024 + 3));
    file.Detail = "scan.pdf";
    tree.insertElement(nullptr, "scan.pdf", KindFile, KindFile, file);
}

} // namespace

class StreamingDatabaseTest : public QObject
{
    Q_OBJECT

private slots:
    void backgroundDecryptionMatchesLibcrypto_data()
    {
        QTest::addColumn<qsizetype>("size");
        QTest::newRow("at once") << qsizetype(1000);
        QTest::newRow("threaded") << BackgroundDecryption::ThreadedFrom + 8 * 1000 + 5;
    }

    void backgroundDecryptionMatchesLibcrypto()
    {
        QFETCH(qsizetype, size);
        const QByteArray plain = randomBytes(1, size);
        const QByteArray cipher = vaultbase::test::libcryptoEcb(Password, plain, true);
        QByteArray bytes = cipher + QByteArray(size % 8, 'x'); // a partial last block stays
        {
            BackgroundDecryption decryption(bytes.data(), bytes.size(), Password);
            QCOMPARE(decryption.size(), cipher.size());
            // Waiting for a prefix grants at least that prefix, already plaintext.
            for (qsizetype end : {qsizetype(0), qsizetype(9), size / 2, size}) {
                const qsizetype done = decryption.waitFor(end);
                QVERIFY(done >= std::min(end, cipher.size()));
                QVERIFY(done <= cipher.size());
                QCOMPARE(QByteArrayView(bytes).first(done), QByteArrayView(plain).first(done));
            }
        }
        QCOMPARE(bytes.first(cipher.size()), plain.first(cipher.size()));
        QCOMPARE(bytes.sliced(cipher.size()), QByteArray(size % 8, 'x'));
    }

    // Going early stops the worker; whatever it did is plaintext, the rest ciphertext.
    void backgroundDecryptionStopsWhenDestroyed()
    {
        const qsizetype size = 8 * BackgroundDecryption::ThreadedFrom;
        const QByteArray plain = randomBytes(2, size);
        QByteArray bytes = vaultbase::test::libcryptoEcb(Password, plain, true);
        const QByteArray cipher = bytes;
        {
            BackgroundDecryption decryption(bytes.data(), bytes.size(), Password);
        }
        qsizetype block = 0;
        for (; block < size && bytes.mid(block, 8) == plain.mid(block, 8); block += 8) {
        }
        QCOMPARE(bytes.sliced(block), cipher.sliced(block));
    }

    // The pieces join up to the stream of the one-buffer writer, whatever their size.
    void chunkedStreamMatchesWholeStream_data()
    {
        QTest::addColumn<qsizetype>("chunkSize");
        for (const qsizetype size : {8, 24, 2064, 64 * 1024}) {
            QTest::addRow("%lld", qlonglong(size)) << qsizetype(size);
        }
    }

    void chunkedStreamMatchesWholeStream()
    {
        QFETCH(qsizetype, chunkSize);
        ElementTree tree;
        vaultbase::test::fillRandomTree(tree, 21, 400);
        tree.insertElement(nullptr, "big", KindFile, KindFile, [] {
            ElementData data;
            data.setBlob(randomBytes(3, 100001));
            return data;
        }());
        QByteArray joined;
        QList<qsizetype> sizes;
        QVERIFY(TreeTable::writeTreeBinary(tree, chunkSize, [&](char *chunk, qsizetype size) {
            sizes.append(size);
            joined.append(chunk, size);
            return true;
        }));
        QCOMPARE(joined, TreeTable::writeTreeBinary(tree));
        // Every piece but the last is full.
        for (qsizetype i = 0; i + 1 < sizes.size(); ++i) {
            QCOMPARE(sizes[i], chunkSize);
        }
        QVERIFY(sizes.last() > 0 && sizes.last() <= chunkSize);

        // A refused piece fails the whole.
        int calls = 0;
        QVERIFY(!TreeTable::writeTreeBinary(tree, chunkSize, [&](char *, qsizetype) { return ++calls < 2; }));
    }

    void bigDatabaseRoundTrips_data()
    {
        QTest::addColumn<bool>("binary");
        QTest::newRow("binary") << true;
        QTest::newRow("text") << false;
    }

    void bigDatabaseRoundTrips()
    {
        QFETCH(bool, binary);
        ElementTree tree;
        fillBigTree(tree);
        QTemporaryDir dir;
        const QString path = dir.filePath("big.kvdb");
        QVERIFY(saveDatabase(tree, path, Password, binary));
        const QByteArray saved = fileBytes(path);
        QVERIFY(saved.size() > 2 * BackgroundDecryption::ThreadedFrom);
        // Saving piece by piece gives the bytes of the whole-buffer encryption.
        QCOMPARE(saved, *encryptDatabase(tree, Password, binary));

        ElementTree fromFile;
        QVERIFY(loadDatabaseFile(fromFile, path, Password));
        QCOMPARE(treeDifference(tree, fromFile), QString());
        ElementTree fromBuffer;
        QVERIFY(loadDatabaseBuffer(fromBuffer, saved, Password));
        QCOMPARE(treeDifference(tree, fromBuffer), QString());
        // The caller's ciphertext is not decrypted under it.
        QCOMPARE(saved, fileBytes(path));
    }

    void bigDatabaseRefusedWhole()
    {
        ElementTree tree;
        fillBigTree(tree);
        const QByteArray cipher = *encryptDatabase(tree, Password, true);
        ElementTree shown;
        shown.insertElement(nullptr, "mine", KindEntry, KindEntry, ElementData());
        QVERIFY(!loadDatabaseBuffer(shown, cipher, "wrong"));
        // Cut inside the last cells, or well before them.
        QVERIFY(!loadDatabaseBuffer(shown, cipher.chopped(16), Password));
        QVERIFY(!loadDatabaseBuffer(shown, cipher.first(cipher.size() / 2 / 8 * 8), Password));
        QCOMPARE(shown.count(), 1);
        QCOMPARE(shown.firstRoot()->name(), QByteArray("mine"));
    }

    // Writes that fail after the first pieces leave the old file as it was.
    void failedBigSaveKeepsOldFile()
    {
        ElementTree tree;
        fillBigTree(tree);
        QTemporaryDir dir;
        const QString path = dir.filePath("keep.kvdb");
        ElementTree small;
        small.insertElement(nullptr, "old", KindEntry, KindEntry, ElementData());
        QVERIFY(saveDatabase(small, path, Password, true));
        const QByteArray before = fileBytes(path);
        for (const qint64 after : {qint64(64 * 1024), qint64(64 * 1024 + 3), qint64(1500000)}) {
            QVERIFY(!saveFailing(tree, path, Password, after));
            QCOMPARE(fileBytes(path), before);
        }
    }
};

VAULTBASE_TEST(StreamingDatabaseTest)
#include "StreamingDatabaseTest.moc"
