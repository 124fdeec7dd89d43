#include "FailingDevice.h"
#include "TestRegistry.h"

#include "platform/SecretFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using vaultbase::test::writeFailing;

Q_DECLARE_METATYPE(SecretFile::Failure)

namespace {

// The permission bits of the file at path, or -1 when it cannot be examined.
int fileMode(const QString &path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777) : -1;
}

// Sets the process umask for one test and puts the old one back.
class UmaskScope
{
public:
    explicit UmaskScope(mode_t mask) : m_old(::umask(mask)) {}
    ~UmaskScope() { ::umask(m_old); }
    UmaskScope(const UmaskScope &) = delete;
    UmaskScope &operator=(const UmaskScope &) = delete;

private:
    mode_t m_old;
};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writePlain(const QString &path, const QByteArray &bytes, QFileDevice::Permissions permissions)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.setPermissions(permissions);
}

const QFileDevice::Permissions WorldReadable =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;

} // namespace

class SecretFileTest : public QObject
{
    Q_OBJECT

private slots:
    void newFileIsOwnerOnlyWhateverTheUmask_data()
    {
        QTest::addColumn<int>("mask");
        QTest::newRow("022") << 022;
        QTest::newRow("000") << 0;
        QTest::newRow("077") << 077;
    }

    void newFileIsOwnerOnlyWhateverTheUmask()
    {
        QFETCH(int, mask);
        UmaskScope umaskScope{mode_t(mask)};
        QTemporaryDir dir;
        const QString path = dir.filePath("secret");
        QVERIFY(SecretFile::write(path, "content"));
        QCOMPARE(fileBytes(path), QByteArray("content"));
        QCOMPARE(fileMode(path), 0600);
    }

    void replacingAWorldReadableFileNarrowsIt()
    {
        UmaskScope umaskScope{0};
        QTemporaryDir dir;
        const QString path = dir.filePath("secret");
        QVERIFY(writePlain(path, "old content that is longer", WorldReadable));
        QVERIFY(SecretFile::write(path, "new"));
        QCOMPARE(fileBytes(path), QByteArray("new"));
        QCOMPARE(fileMode(path), 0600);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"secret"});
    }

    // A write that fails part-way, as on a full disk, leaves the old file as it was:
    // content, mode, and no new file lying beside it.
    void failedWriteKeepsTheOldFile_data()
    {
        QTest::addColumn<qint64>("afterBytes");
        QTest::newRow("nothing") << qint64(0);
        QTest::newRow("one byte") << qint64(1);
        QTest::newRow("most") << qint64(4095);
    }

    void failedWriteKeepsTheOldFile()
    {
        QFETCH(qint64, afterBytes);
        QTemporaryDir dir;
        const QString path = dir.filePath("db.kvdb");
        const QByteArray old("the old database");
        QVERIFY(writePlain(path, old, WorldReadable));

        QVERIFY(!writeFailing(path, QByteArray(4096, 'n'), afterBytes));
        QCOMPARE(fileBytes(path), old);
        QCOMPARE(fileMode(path), 0644);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"db.kvdb"});

        // Where no file was, none is left behind.
        const QString fresh = dir.filePath("fresh.kvdb");
        QVERIFY(!writeFailing(fresh, QByteArray(4096, 'n'), afterBytes));
        QVERIFY(!QFile::exists(fresh));
    }

    void enoughRoomSucceeds()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("db.kvdb");
        QVERIFY(writeFailing(path, QByteArray(100, 'n'), 100));
        QCOMPARE(fileBytes(path), QByteArray(100, 'n'));
    }

    void producerThatGivesUpKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("db.kvdb");
        QVERIFY(SecretFile::write(path, "old"));
        QVERIFY(!SecretFile::write(path, [](QIODevice &out) {
            out.write("partial new content");
            return false;
        }));
        QCOMPARE(fileBytes(path), QByteArray("old"));

        QVERIFY(SecretFile::write(path, [](QIODevice &out) { return out.write("produced") == 8; }));
        QCOMPARE(fileBytes(path), QByteArray("produced"));
    }

    // A failed write says why, as the failing step met it.
    void unwritablePlacesSayWhy_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<SecretFile::Failure>("failure");
        QTest::newRow("missing folder") << "missing/folder/file" << SecretFile::Failure::FolderMissing;
        QTest::newRow("a folder at the path") << "" << SecretFile::Failure::FileNotWritable;
        QTest::newRow("read-only folder") << "locked/file" << SecretFile::Failure::FolderNotWritable;
        QTest::newRow("read-only file") << "readonly" << SecretFile::Failure::FileNotWritable;
    }

    void unwritablePlacesSayWhy()
    {
        QFETCH(QString, place);
        QFETCH(SecretFile::Failure, failure);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("locked")));
        QVERIFY(QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(writePlain(dir.filePath("readonly"), "old", QFileDevice::ReadOwner));
        if (place.startsWith(QLatin1String("locked")) || place == QLatin1String("readonly")) {
            if (QFileInfo(dir.filePath(place)).isWritable() || QFileInfo(dir.filePath("locked")).isWritable()) {
                QSKIP("running with rights that write into read-only places");
            }
        }
        SecretFile::Failure told = SecretFile::Failure::None;
        QVERIFY(!SecretFile::write(place.isEmpty() ? dir.path() : dir.filePath(place), "x", &told));
        QCOMPARE(told, failure);
        QFile::setPermissions(dir.filePath("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void aFullDiskSaysWriteFailed()
    {
        QTemporaryDir dir;
        SecretFile::Failure told = SecretFile::Failure::None;
        QVERIFY(!SecretFile::write(dir.filePath("db.kvdb"), [](QIODevice &out) {
            vaultbase::test::FailingDevice full(out, 3);
            return full.write("more than three") == 15;
        }, &told));
        QCOMPARE(told, SecretFile::Failure::WriteFailed);
    }

    void createNewIsOwnerOnlyAndNeverReplaces()
    {
        UmaskScope umaskScope{0};
        QTemporaryDir dir;
        const QString path = dir.filePath("$$$kvdb_tmp_file$$$1.txt");
        QFile file(path);
        QVERIFY(SecretFile::createNew(file, QIODevice::ReadWrite));
        QCOMPARE(file.write("viewed attachment"), 17);
        QVERIFY(file.seek(0));
        QCOMPARE(file.readAll(), QByteArray("viewed attachment"));
        file.close();
        QCOMPARE(fileMode(path), 0600);

        QFile again(path);
        QVERIFY(!SecretFile::createNew(again));
        QCOMPARE(fileBytes(path), QByteArray("viewed attachment"));

        // A link planted at the name is not followed.
        const QString target = dir.filePath("target");
        const QString link = dir.filePath("link");
        QVERIFY(QFile::link(target, link));
        QFile linked(link);
        QVERIFY(!SecretFile::createNew(linked));
        QVERIFY(!QFile::exists(target));
    }
};

VAULTBASE_TEST(SecretFileTest)
#include "SecretFileTest.moc"
