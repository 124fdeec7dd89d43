#include "TestRegistry.h"

#include "ShellTestFiles.h"

#include "shell/InstanceChannel.h"
#include "shell/InstanceFile.h"
#include "shell/SecondStart.h"
#include "shell/StoragePaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using shelltest::readAll;
using shelltest::writeFile;

const char kRole[] = "VAULTBASE_SHELL_ROLE";
const char kProgram[] = "VAULTBASE_SHELL_PROGRAM";
const char kUser[] = "VAULTBASE_SHELL_USER";
const char kCommon[] = "VAULTBASE_SHELL_COMMON";
constexpr int kHandedOver = 0;
constexpr int kContinued = 3;

// Plays a second start of the program in a process of its own: the same steps the
// program's entry takes before any window exists, with the process's real arguments.
int runSecondStart()
{
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> words;
    for (std::size_t at = 0; at < all.size();) {
        const std::size_t end = all.find('\0', at);
        words.push_back(all.substr(at, end - at));
        at = end == std::string::npos ? all.size() : end + 1;
    }
    std::vector<char *> argv;
    for (std::string &word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    int argc = int(words.size());
    QCoreApplication app(argc, argv.data());
    const StoragePaths paths(qEnvironmentVariable(kProgram), qEnvironmentVariable(kUser), qEnvironmentVariable(kCommon));
    const auto outcome = SecondStart::check(paths, app.arguments().mid(1), 3000);
    return outcome == SecondStart::Outcome::HandedOver ? kHandedOver : kContinued;
}

// Runs before the tests' main when this executable is started as the second process.
const bool kPlaysSecondStart = [] {
    if (qEnvironmentVariable(kRole) == QLatin1String("second-start")) {
        std::exit(runSecondStart());
    }
    return false;
}();

struct Instance
{
    QTemporaryDir root;
    StoragePaths paths{root.filePath(QStringLiteral("program")), root.filePath(QStringLiteral("user")),
                       root.filePath(QStringLiteral("common"))};
    QString storage = paths.storageFolder().folder;
    QString record = StoragePaths::instanceFile(storage);
    qint32 pid = qint32(QCoreApplication::applicationPid());
};

// What the running instance heard, in order.
void collect(InstanceServer &server, QObject *context, QStringList *heard)
{
    QObject::connect(&server, &InstanceServer::argumentReceived, context,
                     [heard](const QString &argument) { heard->append(QStringLiteral("file:") + argument); });
    QObject::connect(&server, &InstanceServer::bringToFrontRequested, context,
                     [heard] { heard->append(QStringLiteral("front")); });
}

} // namespace

class InstanceTest : public QObject
{
    Q_OBJECT

private slots:
    void recordIsEightLittleEndianBytes()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Mutex.ini"));
        InstanceFile record(path);
        qint32 handle = 0;
        QVERIFY(!record.read(&handle)); // missing file
        QCOMPARE(handle, -1);

        QVERIFY(record.write(0x01020304, true));
        QCOMPARE(readAll(path), QByteArray("\x04\x03\x02\x01\x01\0\0\0", 8));
        InstanceFile other(path);
        QVERIFY(other.read(&handle));
        QCOMPARE(handle, 0x01020304);
        QVERIFY(other.oneInstance());

        QVERIFY(other.clear()); // no handle, the flag kept
        QCOMPARE(readAll(path), QByteArray("\xFF\xFF\xFF\xFF\x01\0\0\0", 8));
        QVERIFY(!other.read(&handle));
        QCOMPARE(handle, -1);
        QVERIFY(other.oneInstance());
    }

    void handleCountsOnlyWithTheFlagExactlyOne_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<bool>("flag");
        QTest::newRow("flag 1") << QByteArray("\x07\0\0\0\x01\0\0\0", 8) << true << true;
        QTest::newRow("flag 0") << QByteArray("\x07\0\0\0\0\0\0\0", 8) << false << false;
        QTest::newRow("flag 2") << QByteArray("\x07\0\0\0\x02\0\0\0", 8) << false << false;
        QTest::newRow("flag 257") << QByteArray("\x07\0\0\0\x01\x01\0\0", 8) << false << false;
        QTest::newRow("3 bytes") << QByteArray("\x07\0\0", 3) << false << false;
        QTest::newRow("4 bytes") << QByteArray("\x07\0\0\0", 4) << false << false;
        QTest::newRow("longer") << QByteArray("\x07\0\0\0\x01\0\0\0garbage", 15) << true << true;
        QTest::newRow("empty") << QByteArray() << false << false;
    }

    void handleCountsOnlyWithTheFlagExactlyOne()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, stored);
        QFETCH(bool, flag);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Mutex.ini"));
        QVERIFY(writeFile(path, bytes));
        InstanceFile record(path);
        qint32 handle = 0;
        QCOMPARE(record.read(&handle), stored);
        QCOMPARE(handle, stored ? 7 : -1);
        QCOMPARE(record.oneInstance(), flag);
        QCOMPARE(readAll(path), bytes); // reading never writes
    }

    void secondStartHandsItsArgumentsToTheFirstProcess()
    {
        Instance first;
        InstanceServer server;
        QVERIFY(server.listen(first.storage, first.pid));
        QVERIFY(InstanceFile(first.record).write(first.pid, true));
        QStringList heard;
        collect(server, this, &heard);

        const QString a = first.root.filePath(QStringLiteral("one file.kvdb"));
        const QString b = first.root.filePath(QStringLiteral("Caf\u00E9 \u0416.kvdb"));
        QProcess second;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QLatin1String(kRole), QStringLiteral("second-start"));
        env.insert(QLatin1String(kProgram), first.paths.programFolder());
        env.insert(QLatin1String(kUser), first.root.filePath(QStringLiteral("user")));
        env.insert(QLatin1String(kCommon), first.root.filePath(QStringLiteral("common")));
        second.setProcessEnvironment(env);
        second.start(QCoreApplication::applicationFilePath(), {a, b});
        QVERIFY(second.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning && heard.size() >= 3, 10000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), kHandedOver);
        QCOMPARE(heard, QStringList({QStringLiteral("file:") + a, QStringLiteral("file:") + b, QStringLiteral("front")}));
        // The record still names the running instance.
        qint32 handle = 0;
        QVERIFY(InstanceFile(first.record).read(&handle));
        QCOMPARE(handle, first.pid);
    }

    void staleRecordIsClearedAndStartUpGoesOn()
    {
        Instance first;
        // Our own id, but nobody listens on its channel: the instance is gone.
        QVERIFY(InstanceFile(first.record).write(first.pid, true));
        QCOMPARE(SecondStart::check(first.paths, {QStringLiteral("x.kvdb")}, 1000), SecondStart::Outcome::Continue);
        QCOMPARE(readAll(first.record), QByteArray("\xFF\xFF\xFF\xFF\x01\0\0\0", 8));
        QCOMPARE(SecondStart::check(first.paths, {}, 1000), SecondStart::Outcome::Continue);
    }

    void withoutOneInstanceTheSecondStartRunsOnItsOwn()
    {
        Instance first;
        InstanceServer server;
        QVERIFY(server.listen(first.storage, first.pid));
        QSignalSpy front(&server, &InstanceServer::bringToFrontRequested);
        QVERIFY(InstanceFile(first.record).write(first.pid, false));
        QCOMPARE(SecondStart::check(first.paths, {QStringLiteral("x.kvdb")}, 1000), SecondStart::Outcome::Continue);
        QByteArray untouched(8, '\0');
        qToLittleEndian<qint32>(first.pid, untouched.data());
        QCOMPARE(readAll(first.record), untouched);
        QTest::qWait(50);
        QCOMPARE(front.count(), 0);

        QVERIFY(InstanceFile(first.record).write(-1, true)); // flag on, no handle
        QCOMPARE(SecondStart::check(first.paths, {}, 1000), SecondStart::Outcome::Continue);
    }

    void garbageOnTheChannelIsDropped()
    {
        Instance first;
        InstanceServer server;
        QVERIFY(server.listen(first.storage, first.pid));
        QStringList heard;
        collect(server, this, &heard);

        QLocalSocket stranger;
        stranger.connectToServer(server.channelName());
        QVERIFY(stranger.waitForConnected(2000));
        // An unknown message type, then an over-long argument.
        stranger.write(QByteArray("\x09\x01\0\0\0z", 6));
        stranger.waitForBytesWritten(2000);
        QTRY_COMPARE_WITH_TIMEOUT(stranger.state(), QLocalSocket::UnconnectedState, 5000);

        QLocalSocket big;
        big.connectToServer(server.channelName());
        QVERIFY(big.waitForConnected(2000));
        big.write(QByteArray("\x01\xFF\xFF\xFF\x7F", 5)); // an argument of 2 GB
        big.waitForBytesWritten(2000);
        QTRY_COMPARE_WITH_TIMEOUT(big.state(), QLocalSocket::UnconnectedState, 5000);
        QVERIFY(heard.isEmpty());

        // A proper second start still gets through, split over several writes.
        const QByteArray message = InstanceChannel::frame(InstanceChannel::Argument, "/a.kvdb")
            + InstanceChannel::frame(InstanceChannel::ComeToFront);
        QLocalSocket slow;
        slow.connectToServer(server.channelName());
        QVERIFY(slow.waitForConnected(2000));
        for (char byte : message) {
            slow.write(&byte, 1);
            slow.flush();
            QTest::qWait(1);
        }
        QTRY_COMPARE_WITH_TIMEOUT(heard, QStringList({QStringLiteral("file:/a.kvdb"), QStringLiteral("front")}), 5000);
    }

    void listeningTakesOverALeftoverSocketOfItsOwnName()
    {
        Instance first;
        const QString name = InstanceChannel::name(first.storage, first.pid);
        QCOMPARE(InstanceChannel::name(first.storage + QStringLiteral("../Vaultbase/"), first.pid), name);
        QVERIFY(name != InstanceChannel::name(first.storage, first.pid + 1));
        // What a crashed process with the same id would have left behind.
        const QString leftover = QDir::tempPath() + QLatin1Char('/') + name;
        QVERIFY(writeFile(leftover, "x"));
        InstanceServer server;
        QVERIFY(server.listen(first.storage, first.pid));
        QVERIFY(server.listen(first.storage, first.pid)); // again: nothing changes
        QVERIFY(InstanceChannel::handOver(first.storage, first.pid, {}, 2000));
        server.close();
        QVERIFY(!InstanceChannel::handOver(first.storage, first.pid, {}, 1000));
    }
};

VAULTBASE_TEST(InstanceTest)
#include "InstanceTest.moc"
