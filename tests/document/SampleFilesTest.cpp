// The committed sample databases (tests/data/document, described in its README) read as
// described there.
#include "TestRegistry.h"
#include "TreeHelpers.h"

#include "document/AttachedDatabase.h"
#include "document/DatabaseFile.h"
#include "document/ElementTree.h"
#include "document/KeyFile.h"

#include <QTest>

using vaultbase::test::dataPath;

namespace {

constexpr char Password[] = "sample";

QString sample(const char *name)
{
    return dataPath(QStringLiteral("document/") + QLatin1String(name));
}

} // namespace

Q_DECLARE_METATYPE(LoadProblem)

class SampleFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void databases_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<LoadProblem>("problem");
        QTest::addColumn<int>("elements");
        QTest::newRow("binary") << sample("binary.kvdb") << LoadProblem::None << 5;
        QTest::newRow("text") << sample("text.kvdb") << LoadProblem::None << 5;
        QTest::newRow("text holding a NUL") << sample("text-with-nul.kvdb") << LoadProblem::None << 2;
        QTest::newRow("truncated") << sample("truncated.kvdb") << LoadProblem::NotADatabase << 0;
        QTest::newRow("seven bytes") << sample("seven-bytes.kvdb") << LoadProblem::NotADatabase << 0;
        QTest::newRow("not a multiple of 8") << sample("not-a-multiple-of-8.kvdb") << LoadProblem::None << 5;
        QTest::newRow("wrong password") << sample("wrong-password.kvdb") << LoadProblem::NotADatabase << 0;
        QTest::newRow("1000 levels") << sample("deep-1000.kvdb") << LoadProblem::None << 1000;
        QTest::newRow("1001 levels") << sample("deep-1001.kvdb") << LoadProblem::TooDeep << 0;
        QTest::newRow("key file") << sample("sample.kvky") << LoadProblem::NotADatabase << 0;
    }

    void databases()
    {
        QFETCH(QString, file);
        QFETCH(LoadProblem, problem);
        QFETCH(int, elements);
        ElementTree tree;
        LoadProblem found = LoadProblem::Unreadable;
        QCOMPARE(loadDatabaseFile(tree, file, Password, &found), problem == LoadProblem::None);
        QCOMPARE(found, problem);
        QCOMPARE(tree.count(), elements);
    }

    void bothFormsHoldTheSameTree()
    {
        ElementTree binary;
        ElementTree text;
        QVERIFY(loadDatabaseFile(binary, sample("binary.kvdb"), Password));
        QVERIFY(loadDatabaseFile(text, sample("text.kvdb"), Password));
        QCOMPARE(vaultbase::test::treeDifference(binary, text), QString());
        const ElementNode *visa = binary.findPath({"Bank", "Visa"});
        QVERIFY(visa);
        QCOMPARE(visa->data().Detail, QByteArray("1234"));
    }

    void keyFileAndCarrier()
    {
        QCOMPARE(readKeyFile(sample("sample.kvky")), std::optional<QByteArray>(Password));
        std::optional<CarriedDatabase> carried = findAttachedDatabase(sample("attached.txt"));
        QVERIFY(carried);
        ElementTree tree;
        QVERIFY(loadDatabaseBuffer(tree, carried->ciphertext, Password));
        QCOMPARE(tree.count(), 5);
    }
};

VAULTBASE_TEST(SampleFilesTest)
#include "SampleFilesTest.moc"
