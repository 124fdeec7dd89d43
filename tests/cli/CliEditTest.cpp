// The commands that change a database, read back through export; the input they refuse
// leaves the file's bytes as they were.
#include "CliRunner.h"
#include "TestRegistry.h"

#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>

#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vaultbase::test;

namespace {

const QByteArray Password = "pw\n";

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The exported element with these names, or an empty object.
QJsonObject exported(const QString &database, const QStringList &path)
{
    const CliResult result = runCli({"export", "--password-stdin", database}, Password);
    for (const QJsonValue &value : exportedElements(result.out)) {
        const QJsonObject element = value.toObject();
        if (element.value("path").toVariant().toStringList() == path) {
            return element;
        }
    }
    return {};
}

} // namespace

class CliEditTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_count = 0;

    // Web (folder): Login (key me / pw1 / remark); Bank (folder): Card (key), Doc (file);
    // Notes (entry); written in the text form, which every change must keep.
    QString freshDatabase()
    {
        ElementTree tree;
        ElementNode *web = addElement(tree, nullptr, "Web", KindFolder);
        ElementData login;
        login.Content = "me";
        login.Detail = "pw1";
        login.Comment = "remark";
        addElement(tree, web, "Login", KindKey, login);
        ElementNode *bank = addElement(tree, nullptr, "Bank", KindFolder);
        addElement(tree, bank, "Card", KindKey);
        ElementData doc;
        doc.Detail = "doc.txt";
        doc.setBlob("old bytes");
        addElement(tree, bank, "Doc", KindFile, doc);
        addElement(tree, nullptr, "Notes", KindEntry);
        const QString path = m_dir.filePath(QStringLiteral("db%1.kvdb").arg(++m_count));
        if (!saveDatabase(tree, path, "pw", false)) {
            qWarning() << "cannot write" << path;
        }
        return path;
    }

    QString inputFile(const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("in%1.bin").arg(++m_count));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            qWarning() << "cannot write" << path;
        }
        return path;
    }

private slots:
    void changesReadBack_data()
    {
        QTest::addColumn<QStringList>("arguments"); // FILE goes before the last argument named -
        QTest::addColumn<QByteArray>("moreInput");  // after the database's password
        QTest::addColumn<QStringList>("path");      // the element to read back; empty: absent
        QTest::addColumn<QVariantMap>("fields");    // expected fields, or the path that must be gone
        QTest::newRow("add key") << QStringList{"add", "--username", "u", "--comment", "c", "-", "Web > New"}
                                 << QByteArray() << QStringList{"Web", "New"}
                                 << QVariantMap{{"kind", 3}, {"content", "u"}, {"comment", "c"}, {"detail", ""}};
        QTest::newRow("add key, password typed")
            << QStringList{"add", "--password-prompt", "-", "Web > Typed"} << QByteArray("t\xc3\xa9st\n")
            << QStringList{"Web", "Typed"} << QVariantMap{{"detail", QString::fromUtf8("t\xc3\xa9st")}};
        QTest::newRow("add with parents") << QStringList{"add", "-p", "--kind", "entry", "--content", "x", "-", "A > B > C"}
                                          << QByteArray() << QStringList{"A", "B", "C"}
                                          << QVariantMap{{"kind", 2}, {"content", "x"}};
        QTest::newRow("parents are folders") << QStringList{"add", "-p", "-", "A > B > C"} << QByteArray()
                                             << QStringList{"A", "B"} << QVariantMap{{"kind", 0}};
        QTest::newRow("add unique") << QStringList{"add", "--unique", "--kind", "entry", "-", "Notes"} << QByteArray()
                                    << QStringList{"Notes0"} << QVariantMap{{"kind", 2}};
        QTest::newRow("add folder") << QStringList{"add", "--kind", "folder", "-", "Bank > Sub"} << QByteArray()
                                    << QStringList{"Bank", "Sub"} << QVariantMap{{"kind", 0}, {"selected", 1}};
        QTest::newRow("edit one field") << QStringList{"edit", "--username", "you", "-", "Web > Login"} << QByteArray()
                                        << QStringList{"Web", "Login"}
                                        << QVariantMap{{"content", "you"}, {"detail", "pw1"}, {"comment", "remark"}};
        QTest::newRow("edit name") << QStringList{"edit", "--name", "Mail", "-", "Web > Login"} << QByteArray()
                                   << QStringList{"Web", "Mail"} << QVariantMap{{"content", "me"}};
        QTest::newRow("edit generates") << QStringList{"edit", "--generate", "--length", "30", "-", "Web > Login"}
                                        << QByteArray() << QStringList{"Web", "Login"}
                                        << QVariantMap{{"detailLength", 30}};
        QTest::newRow("mv into folder") << QStringList{"mv", "-", "Web > Login", "Bank"} << QByteArray()
                                        << QStringList{"Bank", "Login"} << QVariantMap{{"content", "me"}};
        QTest::newRow("mv to top level") << QStringList{"mv", "-", "Bank > Card"} << QByteArray()
                                         << QStringList{"Card"} << QVariantMap{{"kind", 3}};
        QTest::newRow("mv leaves") << QStringList{"mv", "-", "Web > Login", "Bank"} << QByteArray()
                                   << QStringList{"Web", "Login"} << QVariantMap{{"gone", true}};
        QTest::newRow("rm") << QStringList{"rm", "-", "Notes"} << QByteArray() << QStringList{"Notes"}
                            << QVariantMap{{"gone", true}};
        QTest::newRow("rm -r") << QStringList{"rm", "-r", "-", "Web"} << QByteArray() << QStringList{"Web", "Login"}
                               << QVariantMap{{"gone", true}};
        QTest::newRow("passwd") << QStringList{"passwd", "-"} << QByteArray("new\n") << QStringList{"Web", "Login"}
                                << QVariantMap{{"newPassword", "new"}};
    }

    void changesReadBack()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, moreInput);
        QFETCH(QStringList, path);
        QFETCH(QVariantMap, fields);
        const QString database = freshDatabase();
        arguments.insert(1, QStringLiteral("--password-stdin"));
        arguments.replace(arguments.indexOf("-"), database);
        const CliResult result = runCli(arguments, Password + moreInput);
        QVERIFY2(result.exitCode == 0, result.err.constData());
        // The form the file was read in is kept.
        ElementTree tree;
        StreamForm form = StreamForm::Binary;
        QVERIFY(loadDatabaseFile(tree, database, fields.value("newPassword", "pw").toByteArray(), nullptr, &form));
        QCOMPARE(form, StreamForm::Text);
        QCOMPARE(QFileInfo(database).permissions() & 0x0077, QFileDevice::Permissions());
        if (fields.contains("newPassword")) {
            return;
        }
        const QJsonObject element = exported(database, path);
        if (fields.value("gone").toBool()) {
            QVERIFY(element.isEmpty());
            return;
        }
        QVERIFY2(!element.isEmpty(), qPrintable(path.join(" > ")));
        for (auto field = fields.cbegin(); field != fields.cend(); ++field) {
            if (field.key() == "detailLength") {
                QCOMPARE(element.value("detail").toString().size(), field.value().toInt());
            } else {
                QCOMPARE(element.value(field.key()).toVariant(), field.value());
            }
        }
    }

    void attachmentsGoInAndOut()
    {
        const QString database = freshDatabase();
        const QByteArray bytes("new\0bytes\xff", 10);
        const QString in = inputFile(bytes);
        for (const QString &path : {QStringLiteral("Bank > Doc"), QStringLiteral("Bank > Added")}) {
            QCOMPARE(runCli({"attachment", "import", "--password-stdin", database, path, in}, Password).exitCode, 0);
            const QString out = m_dir.filePath(QStringLiteral("out%1").arg(++m_count));
            QCOMPARE(runCli({"attachment", "export", "--password-stdin", database, path, out}, Password).exitCode, 0);
            QCOMPARE(fileBytes(out), bytes);
            struct stat status;
            QCOMPARE(::stat(QFile::encodeName(out).constData(), &status), 0);
            QCOMPARE(status.st_mode & 0777, 0600u);
            QCOMPARE(exported(database, path.split(" > ")).value("detail").toString(), QFileInfo(in).fileName());
        }
    }

    void badInputLeavesTheFile_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("reason");
        const QString nowhere = m_dir.filePath("no/such/folder/out");
        QTest::newRow("no parent") << QStringList{"add", "-", "Nope > New"} << "\"Nope\": no such folder";
        QTest::newRow("parent no folder") << QStringList{"add", "-", "Notes > New"} << "\"Notes\": not a folder";
        QTest::newRow("taken name") << QStringList{"add", "-", "Web > Login"} << "taken";
        QTest::newRow("no such path") << QStringList{"edit", "--name", "x", "-", "Web > Nobody"} << "\"Web > Nobody\"";
        QTest::newRow("file separator") << QStringList{"edit", "--name", "a<>b", "-", "Notes"} << "\"<>\"";
        QTest::newRow("path separator") << QStringList{"edit", "--name", "a > b", "-", "Notes"} << "\" > \"";
        QTest::newRow("name taken") << QStringList{"edit", "--name", "Bank", "-", "Notes"} << "sibling";
        QTest::newRow("code page") << QStringList{"add", "--kind", "entry", "--content", "\u0416", "-", "New"}
                                   << "code page";
        QTest::newRow("code page name") << QStringList{"add", "-", "\u0416"} << "code page";
        QTest::newRow("key field on entry") << QStringList{"edit", "--username", "u", "-", "Notes"} << "Only a key";
        QTest::newRow("own subtree") << QStringList{"mv", "-", "Web", "Web"} << "own subtree";
        QTest::newRow("mv into key") << QStringList{"mv", "-", "Notes", "Web > Login"} << "not a folder";
        QTest::newRow("rm full folder") << QStringList{"rm", "-", "Bank"} << "-r";
        QTest::newRow("export no file element") << QStringList{"attachment", "export", "-", "Notes", nowhere}
                                                << "not a file element";
        QTest::newRow("export unwritable") << QStringList{"attachment", "export", "-", "Bank > Doc", nowhere}
                                           << nowhere;
        QTest::newRow("import missing") << QStringList{"attachment", "import", "-", "Bank > Doc", nowhere} << nowhere;
        QTest::newRow("import onto key") << QStringList{"attachment", "import", "-", "Web > Login", "@in"}
                                         << "not a file element";
    }

    void badInputLeavesTheFile()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, reason);
        const QString database = freshDatabase();
        const QByteArray before = fileBytes(database);
        arguments.insert(arguments.indexOf("-"), QStringLiteral("--password-stdin"));
        arguments.replace(arguments.indexOf("-"), database);
        if (arguments.contains("@in")) {
            arguments.replace(arguments.indexOf("@in"), inputFile("bytes"));
        }
        const CliResult result = runCli(arguments, Password + "typed\n");
        // A field the kind lacks is a usage error; the rest are failures naming the file.
        QCOMPARE(result.exitCode, reason == "Only a key" ? 2 : 1);
        const QString err = QString::fromUtf8(result.err);
        QVERIFY2(err.contains(reason), qPrintable(err));
        QVERIFY2(err.contains(reason.startsWith(m_dir.path()) || result.exitCode == 2 ? reason : database),
                 qPrintable(err));
        QCOMPARE(fileBytes(database), before);
    }

    // Another program writes the database while a change is being made: the change is
    // refused and the other program's file stays.
    void changedOnDiskIsRefused()
    {
        const QString database = freshDatabase();
        const int watch = inotify_init1(IN_CLOEXEC);
        QVERIFY(watch >= 0);
        QVERIFY(inotify_add_watch(watch, QFile::encodeName(database).constData(), IN_ACCESS) >= 0);
        ::signal(SIGPIPE, SIG_IGN);
        QProcess process;
        process.setChildProcessModifier([] { ::setsid(); });
        process.start(QStringLiteral(VAULTBASE_CLI_PATH),
                      {"add", "--password-stdin", "--password-prompt", database, "Web > New"});
        QVERIFY(process.waitForStarted());
        process.write(Password);
        QVERIFY(process.waitForBytesWritten());
        // The tool reads the file (having noted what it looked like) and then waits for the
        // key's password on standard input.
        pollfd ready{watch, POLLIN, 0};
        QVERIFY2(::poll(&ready, 1, 30000) == 1, "the tool did not read the database");
        ::close(watch);
        ElementTree other;
        addElement(other, nullptr, "Other", KindEntry);
        QVERIFY(saveDatabase(other, database, "pw", true));
        const QByteArray written = fileBytes(database);
        process.write("typed\n");
        QVERIFY(process.waitForBytesWritten());
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardError().contains("another program changed it"));
        QCOMPARE(fileBytes(database), written);
    }
};

VAULTBASE_TEST(CliEditTest)
#include "CliEditTest.moc"
