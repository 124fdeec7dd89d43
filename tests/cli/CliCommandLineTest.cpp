// Passwords from standard input and key files, failures and usage errors.
#include "CliRunner.h"
#include "TestRegistry.h"

#include "document/KeyFile.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace vaultbase::test;

class CliCommandLineTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_database;

private slots:
    void initTestCase()
    {
        ElementTree tree;
        addElement(tree, nullptr, "only", KindKey);
        m_database = m_dir.filePath("db.kvdb");
        // The password as the code page's bytes: "é" is one byte, E9.
        QVERIFY(saveDatabase(tree, m_database, "p\xe9 w", true));
    }

    void passwordFromStandardInput_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("LF") << QByteArray("p\xc3\xa9 w\n") << 0;
        QTest::newRow("CR LF") << QByteArray("p\xc3\xa9 w\r\n") << 0;
        QTest::newRow("no line end") << QByteArray("p\xc3\xa9 w") << 0;
        QTest::newRow("only the first line") << QByteArray("p\xc3\xa9 w\nmore\n") << 0;
        QTest::newRow("trailing blank kept") << QByteArray("p\xc3\xa9 w \n") << 1;
        QTest::newRow("code-page byte is not UTF-8") << QByteArray("p\xe9 w\n") << 1;
    }

    void passwordFromStandardInput()
    {
        QFETCH(QByteArray, input);
        QFETCH(int, exitCode);
        const CliResult result = runCli({"ls", "--password-stdin", m_database}, input);
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(result.out, exitCode == 0 ? QByteArray("only\n") : QByteArray());
    }

    void wrongPasswordIsReported()
    {
        for (const char *command : {"ls", "export"}) {
            const CliResult result = runCli({command, "--password-stdin", m_database}, "wrong\n");
            QCOMPARE(result.exitCode, 1);
            QCOMPARE(result.err, QByteArray("Wrong password!\n"));
            QCOMPARE(result.out, QByteArray());
        }
    }

    void passwordsThatCannotBeUsedAreRefused()
    {
        const CliResult empty = runCli({"ls", "--password-stdin", m_database}, "\n");
        QCOMPARE(empty.exitCode, 1);
        QVERIFY(empty.err.contains("empty"));
        const CliResult none = runCli({"ls", "--password-stdin", m_database}, "");
        QCOMPARE(none.exitCode, 1);
        QVERIFY(none.err.contains("No password"));
        const CliResult cyrillic = runCli({"ls", "--password-stdin", m_database}, "\xd0\x96\n");
        QCOMPARE(cyrillic.exitCode, 1);
        QVERIFY(cyrillic.err.contains("code page"));
        // Without a terminal and without a password option there is nobody to ask.
        const CliResult noTerminal = runCli({"ls", m_database});
        QCOMPARE(noTerminal.exitCode, 1);
        QVERIFY(noTerminal.err.contains("--password-stdin"));
    }

    void keyFileSuppliesThePassword()
    {
        const QString keyFile = m_dir.filePath("db.kvky");
        QVERIFY(writeKeyFile(keyFile, "p\xe9 w"));
        const CliResult result = runCli({"ls", "--key-file", keyFile, m_database});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QByteArray("only\n"));
        QCOMPARE(runCli({"ls", "--key-file=" + keyFile, m_database}).exitCode, 0);

        const QString otherKey = m_dir.filePath("other.kvky");
        QVERIFY(writeKeyFile(otherKey, "other"));
        QCOMPARE(runCli({"ls", "--key-file", otherKey, m_database}).err, QByteArray("Wrong password!\n"));

        const CliResult missing = runCli({"ls", "--key-file", m_dir.filePath("none.kvky"), m_database});
        QCOMPARE(missing.exitCode, 1);
        QVERIFY(missing.err.contains("none.kvky"));

        // A new database under the key file's password opens with the password typed.
        const QString created = m_dir.filePath("from-key.kvdb");
        const QString json = m_dir.filePath("one.json");
        QFile file(json);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"elements":[{"path":["x"],"kind":2}]})");
        file.close();
        QCOMPARE(runCli({"import", "--from", json, "--key-file", keyFile, created}).exitCode, 0);
        QCOMPARE(runCli({"ls", "--password-stdin", created}, "p\xc3\xa9 w\n").out, QByteArray("x\n"));
    }

    void unreadableFilesAreNamed()
    {
        const QString missing = m_dir.filePath("missing.kvdb");
        const CliResult result = runCli({"ls", "--password-stdin", missing}, "pw\n");
        QCOMPARE(result.exitCode, 1);
        QVERIFY(QString::fromUtf8(result.err).contains(missing));

        const QString empty = m_dir.filePath("empty.kvdb");
        QFile file(empty);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const CliResult emptyResult = runCli({"export", "--password-stdin", empty}, "pw\n");
        QCOMPARE(emptyResult.exitCode, 1);
        QVERIFY(QString::fromUtf8(emptyResult.err).contains(empty));

        const CliResult folder = runCli({"ls", "--password-stdin", m_dir.path()}, "pw\n");
        QCOMPARE(folder.exitCode, 1);
        QVERIFY(QString::fromUtf8(folder.err).contains(m_dir.path()));
    }

    // A device or a named pipe named on the command line is refused at once: no read
    // without end, no wait for a writer.
    void hostilePathsAreRefusedAtOnce_data()
    {
        const QString pipe = m_dir.filePath("pipe");
        if (!QFileInfo::exists(pipe)) {
            QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        }
        const QString fresh = m_dir.filePath("fresh.kvdb");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("named");
        QTest::newRow("key file /dev/zero") << QStringList{"ls", "--key-file", "/dev/zero", m_database} << "/dev/zero";
        QTest::newRow("key file pipe") << QStringList{"ls", "--key-file", pipe, m_database} << pipe;
        QTest::newRow("database pipe") << QStringList{"ls", "--password-stdin", pipe} << pipe;
        QTest::newRow("import from pipe") << QStringList{"import", "--from", pipe, "--password-stdin", fresh} << pipe;
        QTest::newRow("import from /dev/zero")
            << QStringList{"import", "--from", "/dev/zero", "--password-stdin", fresh} << "/dev/zero";
    }

    void hostilePathsAreRefusedAtOnce()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, named);
        const CliResult result = runCli(arguments, "p\xc3\xa9 w\n");
        QVERIFY(!result.crashed);
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(QString::fromUtf8(result.err).contains(named), result.err.constData());
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("reason");
        const QString db = QStringLiteral("x.kvdb");
        QTest::newRow("nothing") << QStringList{} << "No command";
        QTest::newRow("unknown command") << QStringList{"frobnicate", db} << "frobnicate";
        QTest::newRow("no file") << QStringList{"ls", "--password-stdin"} << "No FILE";
        QTest::newRow("option after file") << QStringList{"ls", db, "--password-stdin"} << "before the file name";
        QTest::newRow("two files") << QStringList{"ls", db, db} << "before the file name";
        QTest::newRow("unknown option") << QStringList{"ls", "--force", db} << "force";
        QTest::newRow("missing value") << QStringList{"import", "--from"} << "--from";
        QTest::newRow("flag with value") << QStringList{"ls", "--password-stdin=yes", db} << "Unexpected value";
        QTest::newRow("twice") << QStringList{"ls", "--key-file", "a", "--key-file", "b", db} << "twice";
        QTest::newRow("two password sources") << QStringList{"ls", "--password-stdin", "--key-file", "k", db}
                                              << "exclude";
        QTest::newRow("unknown format") << QStringList{"export", "--format", "xml", db} << "xml";
        QTest::newRow("import without --from") << QStringList{"import", "--password-stdin", db} << "--from";
    }

    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, reason);
        const CliResult result = runCli(arguments, "pw\n");
        QCOMPARE(result.exitCode, 2);
        const QString err = QString::fromUtf8(result.err);
        QVERIFY2(err.contains(reason), qPrintable(err));
        QVERIFY(err.contains("Usage: vaultbase-cli"));
        QCOMPARE(result.out, QByteArray());
    }

    void helpGoesToStandardOutput()
    {
        const CliResult result = runCli({"--help"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains("Usage: vaultbase-cli"));
        const QStringList commands{"ls", "show", "search", "clip", "export", "import", "create", "add", "edit", "mv",
                                   "rm", "attachment export", "attachment import", "passwd", "analyze", "generate",
                                   "rate", "checksum", "info", "attach", "portable", "keyfile create"};
        for (const QString &command : commands) {
            QVERIFY(result.out.contains("vaultbase-cli " + command.toUtf8()));
            // Each command's own help names every option it takes.
            const CliResult own = runCli(command.split(' ') + QStringList{"--help"});
            QCOMPARE(own.exitCode, 0);
            QVERIFY2(own.out.startsWith("Usage: vaultbase-cli " + command.toUtf8()), own.out.constData());
        }
        QVERIFY(runCli({"add", "--help"}).out.contains("-p, --parents"));
    }

    void fileNamesMayStartWithADash()
    {
        const QString dashed = m_dir.filePath("-dash.kvdb");
        QVERIFY(QFile::copy(m_database, dashed));
        const CliResult result = runCli({"ls", "--password-stdin", "--", "-dash.kvdb"}, "p\xc3\xa9 w\n", m_dir.path());
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QByteArray("only\n"));
    }
};

VAULTBASE_TEST(CliCommandLineTest)
#include "CliCommandLineTest.moc"
