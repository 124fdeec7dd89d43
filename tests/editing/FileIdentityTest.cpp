#include "TestRegistry.h"

#include "editing/FileIdentity.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

enum class Change { None, LaterTime, OtherSize, Deleted, OtherPath, NeverKnown };

bool write(const QString &path, const QByteArray &bytes, const QDateTime &modified)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()
        && file.setFileTime(modified, QFileDevice::FileModificationTime);
}

} // namespace

Q_DECLARE_METATYPE(Change)

// A save asks before writing over a file whose size or modification time changed since
// the window read or last wrote it; there is nothing to ask about otherwise.
class FileIdentityTest : public QObject
{
    Q_OBJECT

private slots:
    void changedOnDisk_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("changed");
        QTest::newRow("unchanged") << Change::None << false;
        QTest::newRow("rewritten later, same size") << Change::LaterTime << true;
        QTest::newRow("other size, same time") << Change::OtherSize << true;
        QTest::newRow("deleted: nothing to overwrite") << Change::Deleted << false;
        QTest::newRow("another file") << Change::OtherPath << false;
        QTest::newRow("never read nor written") << Change::NeverKnown << false;
    }

    void changedOnDisk()
    {
        QFETCH(Change, change);
        QFETCH(bool, changed);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("db.kvdb"));
        const QString other = dir.filePath(QStringLiteral("other.kvdb"));
        const QDateTime then = QDateTime::currentDateTime().addSecs(-60);
        QVERIFY(write(path, "12345678", then));
        QVERIFY(write(other, "abc", then));
        const FileIdentity identity = change == Change::NeverKnown ? FileIdentity() : FileIdentity::of(path);
        QCOMPARE(identity.isKnown(), change != Change::NeverKnown);
        switch (change) {
        case Change::LaterTime: QVERIFY(write(path, "87654321", then.addSecs(1))); break;
        case Change::OtherSize: QVERIFY(write(path, "1234567", then)); break;
        case Change::Deleted: QVERIFY(QFile::remove(path)); break;
        default: break;
        }
        QCOMPARE(identity.changedOnDisk(change == Change::OtherPath ? other : path), changed);
    }
};

VAULTBASE_TEST(FileIdentityTest)
#include "FileIdentityTest.moc"
