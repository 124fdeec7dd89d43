#include "TestRegistry.h"

#include "tools/FileChecksum.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

class FileChecksumTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_large; // larger than one chunk, not a whole number of chunks
    QByteArray m_largeBytes;

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            return {};
        }
        return path;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_largeBytes = QByteArray(2 * ChecksumChunkSize + 12345, 0);
        QRandomGenerator random(1319);
        random.fillRange(reinterpret_cast<quint32 *>(m_largeBytes.data()), m_largeBytes.size() / 4);
        m_large = writeFile("large.kvdb", m_largeBytes);
        QVERIFY(!m_large.isEmpty());
    }

    void largeFileEqualsOneShotDigest_data()
    {
        QTest::addColumn<int>("algorithm");
        for (int index = 1; index < DigestAlgorithmCount; ++index) {
            QTest::addRow("%s", digestName(DigestAlgorithm(index))) << index;
        }
    }

    void largeFileEqualsOneShotDigest()
    {
        QFETCH(int, algorithm);
        const auto which = DigestAlgorithm(algorithm);
        const QString hex = checksum(m_large, which);
        QCOMPARE(hex, QString::fromLatin1(Digest::hash(which, m_largeBytes).toHex()));
        QCOMPARE(hex, hex.toLower());
    }

    void emptyFileGivesDigestOfNothing()
    {
        const QString path = writeFile("empty.kvdb", {});
        QCOMPARE(checksum(path, DigestAlgorithm::Sha256),
                 QStringLiteral("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"));
        QCOMPARE(checksum(path, DigestAlgorithm::Md2), QStringLiteral("8350e5a3e24c153df2275c9f80692773"));
    }

    void noResultWithoutAlgorithmOrReadableFile()
    {
        QVERIFY(checksum(m_large, DigestAlgorithm::None).isEmpty());
        QVERIFY(checksum(m_large, DigestAlgorithm(99)).isEmpty());
        QVERIFY(checksum(m_dir.filePath("missing.kvdb"), DigestAlgorithm::Md5).isEmpty());
        QVERIFY(checksum(QString(), DigestAlgorithm::Md5).isEmpty());
        QVERIFY(checksum(m_dir.path(), DigestAlgorithm::Md5).isEmpty()); // a folder
    }

    void progressCountsEveryChunk()
    {
        QList<qint64> done;
        const QString hex = checksum(m_large, DigestAlgorithm::Sha1, [&](qint64 bytesDone, qint64 bytesTotal) {
            done.append(bytesDone);
            return bytesTotal == m_largeBytes.size();
        });
        QVERIFY(!hex.isEmpty());
        const QList<qint64> expected = {ChecksumChunkSize, 2 * ChecksumChunkSize, m_largeBytes.size()};
        QCOMPARE(done, expected);
    }

    void cancelGivesNoResult()
    {
        int calls = 0;
        const QString hex = checksum(m_large, DigestAlgorithm::Sha3_256, [&](qint64, qint64) {
            ++calls;
            return calls < 2;
        });
        QVERIFY(hex.isEmpty());
        QCOMPARE(calls, 2); // stopped at once, the last chunk was never read
    }
};

VAULTBASE_TEST(FileChecksumTest)
#include "FileChecksumTest.moc"
