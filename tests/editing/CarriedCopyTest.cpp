#include "TestRegistry.h"

#include "document/AttachedDatabase.h"
#include "document/DatabaseFile.h"
#include "editing/CarriedCopy.h"
#include "editing/DatabaseDocument.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

enum class Destination { NewFile, DatabaseItself, LinkToDatabase, MissingFolder, UnreadableSource, NeverSaved };

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

Q_DECLARE_METATYPE(Destination)
Q_DECLARE_METATYPE(CarriedCopy::Problem)
Q_DECLARE_METATYPE(CarryWrite::Problem)
Q_DECLARE_METATYPE(SecretFile::Failure)

// An open database carried in a program copy or another file: only a saved database,
// never over its own file, and a failure says why.
class CarriedCopyTest : public QObject
{
    Q_OBJECT

private slots:
    void write_data()
    {
        using P = CarriedCopy::Problem;
        using W = CarryWrite::Problem;
        using F = SecretFile::Failure;
        QTest::addColumn<Destination>("destination");
        QTest::addColumn<bool>("portable");
        QTest::addColumn<P>("problem");
        QTest::addColumn<W>("writeProblem");
        QTest::addColumn<F>("failure");
        QTest::newRow("attached") << Destination::NewFile << false << P::None << W::None << F::None;
        QTest::newRow("portable") << Destination::NewFile << true << P::None << W::None << F::None;
        QTest::newRow("never saved") << Destination::NeverSaved << false << P::NotSaved << W::None << F::None;
        QTest::newRow("database itself") << Destination::DatabaseItself << true << P::DatabaseItself << W::None
                                         << F::None;
        QTest::newRow("link to the database") << Destination::LinkToDatabase << false << P::DatabaseItself << W::None
                                              << F::None;
        QTest::newRow("folder missing") << Destination::MissingFolder << false << P::NotWritten << W::NotWritten
                                        << F::FolderMissing;
        QTest::newRow("source unreadable") << Destination::UnreadableSource << false << P::NotWritten
                                           << W::SourceUnreadable << F::None;
    }

    void write()
    {
        QFETCH(Destination, destination);
        QFETCH(bool, portable);
        QFETCH(CarriedCopy::Problem, problem);
        QFETCH(CarryWrite::Problem, writeProblem);
        QFETCH(SecretFile::Failure, failure);
        QTemporaryDir dir;
        const QString database = dir.filePath("bank.kvdb");
        DatabaseDocument document;
        document.tree().insertElement(nullptr, "Bank", 0, 1, ElementData());
        document.setPassword("pw");
        QVERIFY(document.save(database, true).ok());
        if (destination != Destination::NeverSaved) {
            document.setFilePath(database);
        }
        QString source = dir.filePath("photo.jpg");
        QVERIFY(writeBytes(source, QByteArray(1000, 'p')));
        QString out = dir.filePath("out");
        switch (destination) {
        case Destination::DatabaseItself: out = database; break;
        case Destination::LinkToDatabase: QVERIFY(QFile::link(database, out)); break;
        case Destination::MissingFolder: out = dir.filePath("gone/out"); break;
        case Destination::UnreadableSource: source = dir.filePath("missing.jpg"); break;
        default: break;
        }
        const QByteArray databaseBefore = [&] {
            QFile file(database);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }();

        const CarriedCopy::Result result = CarriedCopy::write(document, source, out, portable, true, "FrmMain.X=\"y\"");
        QCOMPARE(result.problem, problem);
        QCOMPARE(result.write.problem, writeProblem);
        QCOMPARE(result.write.failure, failure);
        QFile written(database);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), databaseBefore);
        if (!result.ok()) {
            return;
        }
        const std::optional<CarriedDatabase> carried = findAttachedDatabase(out);
        QVERIFY(carried);
        QCOMPARE(carried->isPortable(), portable);
        QCOMPARE(carried->programLength, qint64(1000));
        QCOMPARE(carried->languageText, portable ? QByteArray("FrmMain.X=\"y\"") : QByteArray());
        QCOMPARE(carried->ciphertext, *encryptDatabase(document.tree(), "pw", true));
    }
};

VAULTBASE_TEST(CarriedCopyTest)
#include "CarriedCopyTest.moc"
