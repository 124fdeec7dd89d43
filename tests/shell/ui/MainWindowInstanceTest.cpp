#include "MainWindowTestKit.h"

#include "document/KeyFile.h"
#include "shell/InstanceChannel.h"
#include "shell/InstanceFile.h"
#include "shell/ui/MainMenus.h"

#include <QAction>
#include <QProcess>
#include <QSignalSpy>
#include <QtEndian>

using namespace mainwintest;

namespace {

QString programPath()
{
#ifdef VAULTBASE_APP_PATH
    return QStringLiteral(VAULTBASE_APP_PATH);
#else
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../src/app/vaultbase");
#endif
}

// The desktop program started as a second start would be: its per-user and all-users
// folders are the test program's.
void startSecond(QProcess &second, Program &program, const QStringList &arguments)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), program.file(QStringLiteral("user")));
    env.insert(QStringLiteral("XDG_DATA_DIRS"), program.file(QStringLiteral("common")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(env);
    second.setWorkingDirectory(program.root.path());
    second.start(programPath(), arguments);
}

qint32 recordedHandle(const Program &program)
{
    const QByteArray record = readAll(StoragePaths::instanceFile(program.storage()));
    return record.size() >= 4 ? qFromLittleEndian<qint32>(record.constData()) : -2;
}

} // namespace

// Two program processes and "Only one program window".
class MainWindowInstanceTest : public QObject
{
    Q_OBJECT

private slots:
    // No answerer outlives its test function.
    void cleanup() { vaultbase::test::finishModalAnswers(); }

    void initTestCase()
    {
        if (!QFileInfo(programPath()).isExecutable()) {
            QSKIP("the desktop program is not built");
        }
    }

    void aSecondStartHandsItsFileToTheRunningProgram()
    {
        Program program;
        auto window = program.window();
        QVERIFY(start(*window));
        window->settings().checkForPasswordFile = true;
        QVERIFY(!window->menus().MenOneInstance->isChecked());
        window->menus().MenOneInstance->trigger();
        const QByteArray record = readAll(StoragePaths::instanceFile(program.storage()));
        QCOMPARE(record.mid(4), QByteArray("\x01\0\0\0", 4));
        QCOMPARE(recordedHandle(program), qint32(QCoreApplication::applicationPid()));

        const QString database = program.file(QStringLiteral("handed.kvdb"));
        QVERIFY(writeDatabase(database, "pw"));
        QVERIFY(writeKeyFile(program.file(QStringLiteral("handed.kvky")), "pw"));
        QProcess second;
        startSecond(second, program, {QStringLiteral("handed.kvdb")}); // relative to where it starts
        QVERIFY(second.waitForStarted(10000));
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 20000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(window->databaseWindows().size(), 2, 10000);
        QCOMPARE(window->activeChild()->filePath(), database);
        QCOMPARE(recordedHandle(program), qint32(QCoreApplication::applicationPid()));

        // Turned off again, the record says so at once.
        window->menus().MenOneInstance->trigger();
        QCOMPARE(readAll(StoragePaths::instanceFile(program.storage())).mid(4), QByteArray("\0\0\0\0", 4));
    }

    void withoutOneInstanceASecondStartRunsOnItsOwn()
    {
        Program program;
        auto window = program.window();
        QVERIFY(start(*window));
        QProcess second;
        startSecond(second, program, {});
        QVERIFY(second.waitForStarted(10000));
        // It writes its own handle into the record: it is a program of its own.
        QTRY_COMPARE_WITH_TIMEOUT(recordedHandle(program), qint32(second.processId()), 20000);
        QCOMPARE(second.state(), QProcess::Running);
        QCOMPARE(window->databaseWindows().size(), 1);
        // The program turned core dumps off before anything else.
        const QByteArray limits = readAll(QStringLiteral("/proc/%1/limits").arg(second.processId()));
        const QByteArray core = limits.mid(limits.indexOf("Max core file size")).split('\n').value(0).simplified();
        QCOMPARE(core, QByteArray("Max core file size 0 0 bytes"));
        second.terminate();
        QVERIFY(second.waitForFinished(10000));
    }

    // The desktop entry's "New database" handed to the running program makes one there.
    void aNewDatabaseHandedOverIsMade()
    {
        Program program;
        auto window = program.window();
        QVERIFY(start(*window));
        window->menus().MenOneInstance->trigger();
        MessageAnswers messages;
        QVERIFY(InstanceChannel::handOver(program.storage(), qint32(QCoreApplication::applicationPid()),
                                          {QStringLiteral("--new")}, 2000));
        QTRY_COMPARE_WITH_TIMEOUT(window->databaseWindows().size(), 2, 10000);
        QVERIFY(window->activeChild()->filePath().isEmpty());
        QVERIFY(messages.requests.isEmpty());
    }

    void aFileHandedOverWhileAPasswordIsAskedIsDropped()
    {
        Program program;
        auto window = program.window();
        QVERIFY(start(*window));
        window->menus().MenOneInstance->trigger();
        const QString asked = program.file(QStringLiteral("asked.kvdb"));
        const QString other = program.file(QStringLiteral("other.kvdb"));
        QVERIFY(writeDatabase(asked, "pw"));
        QVERIFY(writeDatabase(other, "pw"));

        PasswordAnswers answers({QByteArray("pw")});
        QSignalSpy received(window->findChild<InstanceServer *>(), &InstanceServer::bringToFrontRequested);
        bool handedOver = false;
        answers.whileAsked = [&] {
            handedOver = InstanceChannel::handOver(program.storage(), qint32(QCoreApplication::applicationPid()),
                                                   {other}, 2000);
            // The dialog's loop receives it, however slowly the program runs.
            QTRY_COMPARE(received.count(), 1);
            QCoreApplication::processEvents();
        };
        QVERIFY(window->openPickedFile(asked));
        QVERIFY(handedOver);
        QCoreApplication::processEvents();
        QCOMPARE(answers.asked(), 1);
        QCOMPARE(window->databaseWindows().size(), 2);
        for (DatabaseWindow *child : window->databaseWindows()) {
            QVERIFY(child->filePath() != other);
        }
    }
};

VAULTBASE_TEST(MainWindowInstanceTest)
#include "MainWindowInstanceTest.moc"
