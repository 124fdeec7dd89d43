#include "TestRegistry.h"

#include "tools/SecretClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTest>
#include <QTimer>

// The program's copies of secrets: hinted for clipboard histories, and cleared after the
// delay only while the clipboard still holds them.
class SecretClipboardTest : public QObject
{
    Q_OBJECT

private slots:
    void clearedOnlyWhileUnchanged_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("copiedSince"); // by the user; null: nothing
        QTest::addColumn<bool>("cleared");
        QTest::newRow("unchanged") << 20 << QString() << true;
        QTest::newRow("user copied other text") << 20 << QStringLiteral("mine") << false;
        QTest::newRow("user copied the same text") << 20 << QStringLiteral("s3cret") << false;
        QTest::newRow("never cleared") << 0 << QString() << false;
    }

    void clearedOnlyWhileUnchanged()
    {
        QFETCH(int, seconds);
        QFETCH(QString, copiedSince);
        QFETCH(bool, cleared);
        QClipboard *system = QGuiApplication::clipboard();
        SecretClipboard clipboard(system);
        clipboard.setClearSeconds(seconds);
        clipboard.copy(QStringLiteral("s3cret"));
        QCOMPARE(system->mimeData()->data(QLatin1String(SecretClipboard::HintFormat)), QByteArray("secret"));
        QVERIFY(clipboard.holdsOurCopy());
        QCOMPARE(clipboard.timer().isActive(), seconds > 0);
        if (seconds > 0) {
            QCOMPARE(clipboard.timer().interval(), seconds * 1000);
        }
        if (!copiedSince.isNull()) {
            system->setText(copiedSince);
        }
        if (seconds > 0) {
            clipboard.clearIfUnchanged(); // what the timer's end runs
        }
        const QString left = cleared ? QString() : copiedSince.isNull() ? QStringLiteral("s3cret") : copiedSince;
        QCOMPARE(system->text(), left);
        QVERIFY(!clipboard.timer().isActive() || seconds == 0);
        system->clear();
    }
};

VAULTBASE_TEST(SecretClipboardTest)
#include "SecretClipboardTest.moc"
