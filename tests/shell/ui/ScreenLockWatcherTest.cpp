#include "TestRegistry.h"

#include "shell/ui/ScreenLockWatcher.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

// The screen-lock signals of a desktop session, sent on a private session bus.
class ScreenLockWatcherTest : public QObject
{
    Q_OBJECT

    QProcess m_daemon;
    QString m_address;

private slots:
    void initTestCase()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty()) {
            QSKIP("no dbus-daemon to run a private session bus");
        }
        m_daemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        QVERIFY(m_daemon.waitForReadyRead(10000));
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        QVERIFY(!m_address.isEmpty());
    }

    void cleanupTestCase()
    {
        m_daemon.kill();
        m_daemon.waitForFinished();
    }

    void signalsThatLock_data()
    {
        QTest::addColumn<QString>("interface");
        QTest::addColumn<bool>("active");
        QTest::addColumn<bool>("locks");
        QTest::newRow("screen saver on") << "org.freedesktop.ScreenSaver" << true << true;
        QTest::newRow("screen saver off") << "org.freedesktop.ScreenSaver" << false << false;
        QTest::newRow("GNOME screen saver on") << "org.gnome.ScreenSaver" << true << true;
        QTest::newRow("another interface") << "org.example.ScreenSaver" << true << false;
    }

    void signalsThatLock()
    {
        QFETCH(QString, interface);
        QFETCH(bool, active);
        QFETCH(bool, locks);
        const QString name = QString::fromLatin1(QTest::currentDataTag());
        QDBusConnection listener = QDBusConnection::connectToBus(m_address, QStringLiteral("listener ") + name);
        QDBusConnection sender = QDBusConnection::connectToBus(m_address, QStringLiteral("sender ") + name);
        QVERIFY(listener.isConnected() && sender.isConnected());
        // No system bus: that half listens to nothing, and nothing breaks.
        const QDBusConnection noBus = QDBusConnection::connectToBus(QString(), QStringLiteral("none ") + name);
        ScreenLockWatcher watcher(listener, noBus);
        QVERIFY(watcher.isListening());
        QSignalSpy locked(&watcher, &ScreenLockWatcher::sessionLocked);
        // The bus takes the watcher's match rules in order: once a call made after them is
        // answered, they are in place.
        QVERIFY(listener.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.DBus")).isValid());

        QDBusMessage message = QDBusMessage::createSignal(QStringLiteral("/ScreenSaver"), interface,
                                                          QStringLiteral("ActiveChanged"));
        message << active;
        QVERIFY(sender.send(message));
        if (locks) {
            QVERIFY(locked.wait(5000));
        } else {
            QTest::qWait(300);
            QCOMPARE(locked.count(), 0);
        }
        QDBusConnection::disconnectFromBus(listener.name());
        QDBusConnection::disconnectFromBus(sender.name());
    }
};

VAULTBASE_TEST(ScreenLockWatcherTest)
#include "ScreenLockWatcherTest.moc"
