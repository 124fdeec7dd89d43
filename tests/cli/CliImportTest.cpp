// import: round trips through export, and the content it refuses.
#include "CliRunner.h"
#include "TestRegistry.h"

#include "../document/TreeHelpers.h"

#include "document/Encryption.h"

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace vaultbase::test;

class CliImportTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_count = 0;

    QString freshPath(const char *suffix)
    {
        return m_dir.filePath(QStringLiteral("f%1%2").arg(++m_count).arg(QLatin1StringView(suffix)));
    }

    QString writeJson(const QByteArray &json)
    {
        const QString path = freshPath(".json");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size()) {
            qWarning() << "cannot write" << path;
        }
        return path;
    }

    CliResult import(const QByteArray &json, const QString &target, QStringList extra = {})
    {
        return runCli(QStringList{"import", "--from", writeJson(json)} + extra + QStringList{"--password-stdin", target},
                      "secret\n");
    }

    // Imports elements and, when the import succeeds, loads the database it wrote.
    CliResult importInto(ElementTree &tree, const QByteArray &elements)
    {
        const QString target = freshPath(".kvdb");
        const CliResult result = import("{\"elements\":[" + elements + "]}", target);
        if (result.exitCode == 0 && !loadDatabaseFile(tree, target, "secret")) {
            qWarning() << "the database import wrote does not load";
        }
        return result;
    }

    void refused(const QByteArray &elements, const QStringList &mentions)
    {
        const QString target = freshPath(".kvdb");
        const CliResult result = import("{\"elements\":[" + elements + "]}", target);
        QCOMPARE(result.exitCode, 1);
        const QString err = QString::fromUtf8(result.err);
        for (const QString &mention : mentions) {
            QVERIFY2(err.contains(mention), qPrintable(err + " lacks " + mention));
        }
        QVERIFY(!QFile::exists(target));
    }

private slots:
    void roundTripKeepsEveryElement_data()
    {
        QTest::addColumn<bool>("textForm");
        QTest::newRow("binary") << false;
        QTest::newRow("text form") << true;
    }

    void roundTripKeepsEveryElement()
    {
        QFETCH(bool, textForm);
        // Every kind, every code-page byte in names and texts, blobs with 00 and FF.
        ElementTree original;
        fillRandomTree(original, 7, 300);
        const QString source = freshPath(".kvdb");
        QVERIFY(saveDatabase(original, source, "pw", true));
        const CliResult exported = runCli({"export", "--format", "json", "--password-stdin", source}, "pw\n");
        QCOMPARE(exported.exitCode, 0);

        const QString target = freshPath(".kvdb");
        const CliResult imported =
            import(exported.out, target, textForm ? QStringList{"--text-form"} : QStringList{});
        QCOMPARE(imported.exitCode, 0);
        QCOMPARE(imported.err, QByteArray());
        QCOMPARE(QFileInfo(target).permissions() & ~(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser
                                                      | QFile::WriteUser),
                 QFileDevice::Permissions());

        std::optional<QByteArray> plain = decryptFile(target, "secret");
        QVERIFY(plain);
        QCOMPARE(plain->startsWith("<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n"), textForm);
        QCOMPARE(plain->startsWith("CLASS_TABLE V1.000VLB"), !textForm);

        ElementTree loaded;
        QVERIFY(loadDatabaseFile(loaded, target, "secret"));
        QCOMPARE(treeDifference(original, loaded), QString());
    }

    void textFormThatCannotCarryATextSaysSo()
    {
        const CliResult result =
            import(R"({"elements":[{"path":["k"],"kind":3,"detail":"a\u0000b"}]})", freshPath(".kvdb"),
                   {"--text-form"});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.err.contains("binary form"));
    }

    void existingFileNeedsForce()
    {
        const QString target = freshPath(".kvdb");
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old content");
        old.close();
        const QByteArray json = R"({"elements":[{"path":["A"],"kind":0}]})";

        const CliResult refusedRun = import(json, target);
        QCOMPARE(refusedRun.exitCode, 1);
        QVERIFY(refusedRun.err.contains("--force"));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old content"));
        old.close();

        QCOMPARE(import(json, target, {"--force"}).exitCode, 0);
        ElementTree tree;
        QVERIFY(loadDatabaseFile(tree, target, "secret"));
        QCOMPARE(tree.count(), 1);
    }

    void textTheCodePageCannotCarryIsRefused()
    {
        refused(R"({"path":["Bank"],"kind":0},{"path":["Bank","PIN"],"kind":3,"detail":"\u0416"})",
                {"Element 2", "Bank > PIN", "\"detail\"", "U+0416"});
        refused(R"({"path":["\u65e5\u672c"],"kind":2})", {"Element 1", "\"path\""});
        refused(R"({"path":["x"],"kind":2,"comment":"ok","content":"\ud83d\ude00"})",
                {"\"x\"", "\"content\"", "U+1F600"});
    }

    void contentTheFileCannotStoreIsRefused()
    {
        refused(R"({"path":["A"],"kind":0},{"path":["A"],"kind":3})", {"Element 2", "element 1", "same path"});
        refused(R"({"path":["A","k"],"kind":3},{"path":["A","k"],"kind":2})", {"Element 2", "A > k"});
        refused(R"({"path":["a<>b"],"kind":2})", {"a<>b", "<>"});
        // Deeper than a database may be: every path would repeat its ancestors'.
        QByteArray deep = R"({"path":[)" + QByteArray("\"n\",").repeated(1000) + R"("n"],"kind":2})";
        refused(deep, {"1001 levels", "at most 1000"});
        refused(R"({"path":["K"],"kind":3},{"path":["K","x"],"kind":2})", {"\"K\" is a key", "folder"});
        refused(R"({"path":["K","x"],"kind":2},{"path":["K"],"kind":4})", {"Element 2", "file"});
    }

    void malformedJsonIsRefused()
    {
        refused(R"({"path":["A"],"kind":1})", {"\"kind\""});
        refused(R"({"path":["A"]})", {"\"kind\" is missing"});
        refused(R"({"path":[],"kind":2})", {"\"path\""});
        refused(R"({"path":["A"],"kind":2,"contents":"typo"})", {"unknown field \"contents\""});
        refused(R"({"path":["A"],"kind":2,"detail":5})", {"\"detail\" must be a string"});
        refused(R"({"path":["A"],"kind":4,"blob":"not base64!"})", {"\"blob\""});
        refused(R"({"path":["A"],"kind":2.5})", {"\"kind\""});
        const QString target = freshPath(".kvdb");
        const CliResult broken = import("{\"elements\":[", target);
        QCOMPARE(broken.exitCode, 1);
        QVERIFY(broken.err.contains("not valid JSON"));
        const CliResult missing = runCli({"import", "--from", m_dir.filePath("none.json"), "--password-stdin", target},
                                         "secret\n");
        QCOMPARE(missing.exitCode, 1);
        QVERIFY(missing.err.contains("none.json"));
        QVERIFY(!QFile::exists(target));
    }

    void omittedFieldsAndFoldersOnTheWay()
    {
        ElementTree tree;
        // Children before their folder and a folder that never gets an element of its own.
        const CliResult result = importInto(tree, R"({"path":["Bank","Cards","Visa"],"kind":3,"detail":"1"},
            {"path":["Bank"],"kind":0,"content":"own text","created":"2020-01-01 00:00:00","modified":""},
            {"path":["File"],"kind":4,"blob":""},
            {"path":["Table"],"kind":5,"blob":null,"selected":7})");
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(tree.count(), 5);
        const ElementNode *bank = tree.findPath({"Bank"});
        QVERIFY(bank);
        QCOMPARE(bank->data().Content, QByteArray("own text"));
        QCOMPARE(bank->data().Created, QByteArray("2020-01-01 00:00:00"));
        QCOMPARE(bank->data().Modified, QByteArray());
        const ElementNode *cards = tree.findPath({"Bank", "Cards"});
        QVERIFY(cards);
        QCOMPARE(cards->kind(), qint32(KindFolder));
        QCOMPARE(cards->selectedCode(), qint32(KindOpenFolder));
        QCOMPARE(cards->data().Created.size(), qsizetype(19)); // stamped with the time of the import
        const ElementNode *visa = tree.findPath({"Bank", "Cards", "Visa"});
        QVERIFY(visa);
        QCOMPARE(visa->selectedCode(), qint32(KindKey));
        QCOMPARE(visa->data().Detail, QByteArray("1"));
        QVERIFY(!visa->data().hasBlob());
        QVERIFY(!tree.findPath({"File"})->data().hasBlob());
        QCOMPARE(tree.findPath({"Table"})->selectedCode(), 7);
    }

    void namesThatDifferOnlyInCaseAreSiblings()
    {
        ElementTree tree;
        const CliResult result = importInto(tree, R"({"path":["abc"],"kind":2},{"path":["ABC"],"kind":2},
            {"path":["caf\u00e9"],"kind":2},{"path":["caf\u00c9"],"kind":2})");
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(tree.count(), 4);
        QVERIFY(tree.findPath({"caf\xe9"}));
        QVERIFY(tree.findPath({"caf\xc9"}));
    }
};

VAULTBASE_TEST(CliImportTest)
#include "CliImportTest.moc"
