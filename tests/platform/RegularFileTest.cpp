#include "TestRegistry.h"

#include "platform/RegularFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

Q_DECLARE_METATYPE(RegularFile::Problem)

class RegularFileTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QFile file(m_dir.filePath("ten"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("0123456789") == 10);
        QCOMPARE(::mkfifo(QFile::encodeName(m_dir.filePath("pipe")).constData(), 0600), 0);
    }

    // What is no regular file is refused at once, never waited on or read without end.
    void onlyRegularFilesWithinTheBound_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<qint64>("bound");
        QTest::addColumn<RegularFile::Problem>("problem");
        QTest::newRow("fits") << m_dir.filePath("ten") << qint64(10) << RegularFile::Problem::None;
        QTest::newRow("one byte too many") << m_dir.filePath("ten") << qint64(9) << RegularFile::Problem::TooLarge;
        QTest::newRow("missing") << m_dir.filePath("none") << qint64(10) << RegularFile::Problem::Missing;
        QTest::newRow("folder") << m_dir.path() << qint64(10) << RegularFile::Problem::NotRegular;
        QTest::newRow("named pipe") << m_dir.filePath("pipe") << qint64(10) << RegularFile::Problem::NotRegular;
        QTest::newRow("endless device") << QStringLiteral("/dev/zero") << qint64(10) << RegularFile::Problem::NotRegular;
    }

    void onlyRegularFilesWithinTheBound()
    {
        QFETCH(QString, path);
        QFETCH(qint64, bound);
        QFETCH(RegularFile::Problem, problem);
        RegularFile::Problem found = RegularFile::Problem::Unreadable;
        const std::optional<QByteArray> bytes = RegularFile::read(path, bound, &found);
        QCOMPARE(found, problem);
        QCOMPARE(bytes.has_value(), problem == RegularFile::Problem::None);
        if (bytes) {
            QCOMPARE(*bytes, QByteArray("0123456789"));
        }
    }
};

VAULTBASE_TEST(RegularFileTest)
#include "RegularFileTest.moc"
