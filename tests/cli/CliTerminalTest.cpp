// The password prompt on a terminal: a pseudo-terminal is the tool's controlling terminal.
#include "CliRunner.h"
#include "TestRegistry.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

using namespace vaultbase::test;

namespace {

// A pseudo-terminal: the test types on the master side; the tool's /dev/tty is the slave.
class PseudoTerminal
{
public:
    PseudoTerminal()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
            return;
        }
        m_slaveName = ::ptsname(m_master);
        // The test's own handle on the slave, to look at its settings.
        m_slave = ::open(m_slaveName.constData(), O_RDWR | O_NOCTTY);
    }
    ~PseudoTerminal()
    {
        ::close(m_slave);
        ::close(m_master);
    }
    bool ok() const { return m_master >= 0 && m_slave >= 0; }

    // The process runs in a new session whose controlling terminal is the slave.
    void attach(QProcess &process) const
    {
        const QByteArray name = m_slaveName;
        process.setChildProcessModifier([name] {
            ::setsid();
            const int fd = ::open(name.constData(), O_RDWR);
            ::ioctl(fd, TIOCSCTTY, 0);
        });
    }

    bool echoOn() const
    {
        termios settings{};
        return ::tcgetattr(m_slave, &settings) == 0 && (settings.c_lflag & ECHO) != 0;
    }

    void type(const QByteArray &keys) const
    {
        if (::write(m_master, keys.constData(), size_t(keys.size())) != keys.size()) {
            qWarning() << "typing failed";
        }
    }

    // What the terminal showed, up to and including needle (all of it when needle never came).
    QByteArray readUntil(const QByteArray &needle, int timeoutMs = 20000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!m_shown.contains(needle) && timer.elapsed() < timeoutMs) {
            pollfd fd{m_master, POLLIN, 0};
            if (::poll(&fd, 1, 100) > 0) {
                char buffer[512];
                const ssize_t got = ::read(m_master, buffer, sizeof buffer);
                if (got <= 0) {
                    break;
                }
                m_shown.append(buffer, got);
            }
        }
        return m_shown;
    }

private:
    int m_master = -1;
    int m_slave = -1;
    QByteArray m_slaveName;
    QByteArray m_shown;
};

} // namespace

class CliTerminalTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_database;

    void start(QProcess &process, PseudoTerminal &terminal, const QStringList &arguments)
    {
        terminal.attach(process);
        process.start(QStringLiteral(VAULTBASE_CLI_PATH), arguments);
        QVERIFY(process.waitForStarted());
        process.closeWriteChannel();
    }

private slots:
    void initTestCase()
    {
        ElementTree tree;
        addElement(tree, nullptr, "only", KindKey);
        m_database = m_dir.filePath("db.kvdb");
        QVERIFY(saveDatabase(tree, m_database, "s\xe9same", true));
    }

    void passwordIsAskedWithoutEcho()
    {
        PseudoTerminal terminal;
        QVERIFY(terminal.ok());
        QProcess process;
        start(process, terminal, {"ls", m_database});
        QVERIFY(terminal.readUntil(": ").contains("Password for"));
        QVERIFY(!terminal.echoOn());
        terminal.type("s\xc3\xa9same\n");
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(process.readAllStandardOutput(), QByteArray("only\n"));
        QVERIFY(!terminal.readUntil("same", 300).contains("same"));
        QVERIFY(terminal.echoOn());
    }

    void interruptRestoresTheTerminal()
    {
        PseudoTerminal terminal;
        QVERIFY(terminal.ok());
        QProcess process;
        start(process, terminal, {"export", m_database});
        terminal.readUntil(": ");
        QVERIFY(!terminal.echoOn());
        ::kill(pid_t(process.processId()), SIGINT);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
        QVERIFY(terminal.echoOn());
    }

    void endOfInputGivesNoPassword()
    {
        PseudoTerminal terminal;
        QVERIFY(terminal.ok());
        QProcess process;
        start(process, terminal, {"ls", m_database});
        terminal.readUntil(": ");
        terminal.type("\x04"); // Ctrl+D on an empty line
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardError().contains("No password"));
        QVERIFY(terminal.echoOn());
    }

    void newDatabaseAsksTwice()
    {
        const QString json = m_dir.filePath("one.json");
        QFile file(json);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"elements":[{"path":["x"],"kind":2}]})");
        file.close();
        for (const QByteArray &repeat : {QByteArray("other\n"), QByteArray("typed\n")}) {
            PseudoTerminal terminal;
            QVERIFY(terminal.ok());
            QProcess process;
            const QString target = m_dir.filePath(QStringLiteral("new-%1.kvdb").arg(QLatin1StringView(repeat.trimmed())));
            start(process, terminal, {"import", "--from", json, target});
            QVERIFY(terminal.readUntil(": ").contains("new database"));
            terminal.type("typed\n");
            QVERIFY(terminal.readUntil("Repeat the password: ").contains("Repeat"));
            terminal.type(repeat);
            QVERIFY(process.waitForFinished(20000));
            const bool same = repeat == "typed\n";
            QCOMPARE(process.exitCode(), same ? 0 : 1);
            QCOMPARE(QFile::exists(target), same);
            if (!same) {
                QVERIFY(process.readAllStandardError().contains("differ"));
            }
        }
    }
};

VAULTBASE_TEST(CliTerminalTest)
#include "CliTerminalTest.moc"
