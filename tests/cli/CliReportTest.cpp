// The commands that read a database for scripts: search, analyze, ls and show as JSON,
// and clip on a display.
#include "CliRunner.h"
#include "TestRegistry.h"

#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace vaultbase::test;

class CliReportTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_database;

    static ElementData key(const QByteArray &user, const QByteArray &password, const QByteArray &modified)
    {
        ElementData data;
        data.Content = user;
        data.Detail = password;
        data.Created = "2020-01-01 00:00:00";
        data.Modified = modified;
        return data;
    }

private slots:
    // Web: Mail and Shop share a strong password; Web > Old is weak and old; Empty has
    // none; Notes mentions "shop".
    void initTestCase()
    {
        const QByteArray recent = timeText(QDateTime::currentDateTime().addDays(-3));
        ElementTree tree;
        ElementNode *web = addElement(tree, nullptr, "Web", KindFolder);
        addElement(tree, web, "Mail", KindKey, key("me", "Str0ng!Pass", recent));
        addElement(tree, web, "Shop", KindKey, key("Shopper", "Str0ng!Pass", recent));
        addElement(tree, web, "Old", KindKey, key("x", "abc", "2020-01-02 00:00:00"));
        addElement(tree, nullptr, "Empty", KindKey, key("", "", recent));
        ElementData notes;
        notes.Content = "buy at the shop";
        addElement(tree, nullptr, "Notes", KindEntry, notes);
        m_database = m_dir.filePath("db.kvdb");
        QVERIFY(saveDatabase(tree, m_database, "pw", true));
    }

    void search_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("paths");
        QTest::newRow("any case") << QStringList{} << "shop" << QByteArray("Web > Shop\nNotes\n");
        QTest::newRow("match case") << QStringList{"--case"} << "Shop" << QByteArray("Web > Shop\n");
        QTest::newRow("never passwords") << QStringList{} << "Str0ng" << QByteArray();
    }

    void search()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, text);
        QFETCH(QByteArray, paths);
        const CliResult result = runCli(QStringList{"search", "--password-stdin"} + options + QStringList{m_database, text},
                                        "pw\n");
        QCOMPARE(result.exitCode, 0);
        // Tree order: siblings sorted, each element before its descendants.
        QCOMPARE(QByteArrayList(result.out.split('\n')).size(), paths.count('\n') + 1);
        for (const QByteArray &line : paths.split('\n')) {
            QVERIFY2(result.out.contains(line), result.out.constData());
        }
    }

    void analyzeFindsReusedWeakOldAndEmpty()
    {
        const CliResult text = runCli({"analyze", "--password-stdin", "--days", "365", m_database}, "pw\n");
        QCOMPARE(text.exitCode, 0);
        const QByteArrayList lines = text.out.trimmed().split('\n');
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QByteArray("reused\tWeb > Mail\tWeb > Shop"));
        QVERIFY2(lines[1].startsWith("risks\tWeb > Old\tlength is less than 8 characters; no numbers"), lines[1]);
        QVERIFY2(lines[2].startsWith("old\tWeb > Old\t"), lines[2]);
        QCOMPARE(lines[3], QByteArray("empty\tEmpty"));
        QVERIFY(!text.out.contains("Str0ng") && !text.out.contains("abc"));

        const CliResult json = runCli({"analyze", "--password-stdin", "--format", "json", m_database}, "pw\n");
        const QJsonObject report = QJsonDocument::fromJson(json.out).object();
        auto compact = [&report](const char *name) {
            return QJsonDocument(report.value(QLatin1StringView(name)).toArray()).toJson(QJsonDocument::Compact);
        };
        QCOMPARE(compact("reused"), QByteArray(R"([[["Web","Mail"],["Web","Shop"]]])"));
        QCOMPARE(report.value("risks").toArray().first().toObject().value("risks").toArray().size(), 4);
        QVERIFY(report.value("old").toArray().first().toObject().value("days").toInt() > 365);
        QCOMPARE(compact("empty"), QByteArray(R"([["Empty"]])"));
    }

    void listAndShowAsJson()
    {
        const CliResult list = runCli({"ls", "--password-stdin", "--format", "json", m_database}, "pw\n");
        const QJsonArray elements = exportedElements(list.out);
        QCOMPARE(elements.size(), 6);
        QCOMPARE(elements.at(1).toObject().value("path").toVariant().toStringList(), QStringList{"Notes"});
        QVERIFY(!list.out.contains("Str0ng") && !list.out.contains("detail"));

        const CliResult show = runCli({"show", "--password-stdin", "--format", "json", m_database, "Web > Mail"}, "pw\n");
        const QJsonObject mail = QJsonDocument::fromJson(show.out).object();
        QCOMPARE(mail.value("detail").toString(), QStringLiteral("Str0ng!Pass"));
        QCOMPARE(mail.value("kind").toInt(), 3);
    }

    void clipWithoutDisplayFails_data()
    {
        QTest::addColumn<QString>("display");
        QTest::newRow("none") << QString();
        QTest::newRow("unreachable") << ":4711";
    }

    void clipWithoutDisplayFails()
    {
        QFETCH(QString, display);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        if (!display.isEmpty()) {
            environment.insert("DISPLAY", display);
        }
        process.setProcessEnvironment(environment);
        process.start(VAULTBASE_CLI_PATH, {"clip", "--password-stdin", m_database, "Web > Mail"});
        process.write("pw\n");
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished());
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardError().contains("No display"));
    }

    // Under Xvfb: the password is on the clipboard with the hint, and gone after the timeout.
    void clipCopiesAndClears()
    {
        const QString xvfb = QStandardPaths::findExecutable("xvfb-run");
        if (xvfb.isEmpty()) {
            QSKIP("xvfb-run is not installed");
        }
        const QString script = QStringLiteral("echo pw | \"$0\" clip --password-stdin --timeout 2 \"$2\" 'Web > Mail' &"
                                              " \"$1\"; wait $!");
        QProcess process;
        process.start(xvfb, {"-a", "sh", "-c", script, VAULTBASE_CLI_PATH, VAULTBASE_CLIPBOARD_WATCH_PATH, m_database});
        QVERIFY(process.waitForFinished(60000));
        const QByteArray out = process.readAllStandardOutput();
        QCOMPARE(out, QByteArray("TEXT:Str0ng!Pass\nHINT:secret\nCLEARED\n"));
        QCOMPARE(process.exitCode(), 0);
    }
};

VAULTBASE_TEST(CliReportTest)
#include "CliReportTest.moc"
