#include "TestRegistry.h"

#include "editing/SecretClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

// A copied secret carries the hint for clipboard managers and is cleared after the delay,
// but only while the clipboard still holds it.
class SecretClipboardTest : public QObject
{
    Q_OBJECT

private slots:
    void clearsOnlyItsOwnSecret_data()
    {
        QTest::addColumn<bool>("copiedOver");
        QTest::newRow("still there") << false;
        QTest::newRow("something else copied since") << true;
    }

    void clearsOnlyItsOwnSecret()
    {
        QFETCH(bool, copiedOver);
        QClipboard *system = QGuiApplication::clipboard();
        SecretClipboard clipboard(system);
        QSignalSpy expired(&clipboard, &SecretClipboard::expired);
        clipboard.copy(QStringLiteral("s3cr\u00e9t"), std::chrono::milliseconds(50));
        QCOMPARE(system->text(), QStringLiteral("s3cr\u00e9t"));
        QCOMPARE(system->mimeData()->data(QLatin1StringView(SecretClipboard::HintType)), QByteArray("secret"));
        if (copiedOver) {
            system->setText(QStringLiteral("other"));
        }
        QVERIFY(expired.wait(5000));
        QCOMPARE(expired.first().first().toBool(), !copiedOver);
        QCOMPARE(system->text(), copiedOver ? QStringLiteral("other") : QString());
    }
};

VAULTBASE_TEST(SecretClipboardTest)
#include "SecretClipboardTest.moc"
