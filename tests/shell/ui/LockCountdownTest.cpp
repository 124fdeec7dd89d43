#include "TestRegistry.h"

#include "shell/ui/LockCountdown.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <limits>

// The lock count-down's state: the seconds, the timer and the label.
class LockCountdownTest : public QObject
{
    Q_OBJECT

private slots:
    void intervalsInMinutes()
    {
        QLabel label;
        LockCountdown countdown(&label, [] { return std::optional<bool>(true); });
        QCOMPARE(countdown.seconds(), -1);
        countdown.restart("2");
        QCOMPARE(countdown.seconds(), 120);
        countdown.restart("0"); // activity never leaves less than a minute
        QCOMPARE(countdown.seconds(), 60);
        countdown.restart("ten");
        QCOMPARE(countdown.seconds(), 600);
        countdown.restart(" -5 "); // a negative count-down would never end
        QCOMPARE(countdown.seconds(), 60);
        countdown.restart("40000000"); // minutes whose seconds overflow are bounded
        QCOMPARE(countdown.seconds(), std::numeric_limits<int>::max() / 60 * 60);
        countdown.set("0", true); // after opening, as given
        QCOMPARE(countdown.seconds(), 0);
        QVERIFY(countdown.isRunning());
        countdown.set("1", false);
        QVERIFY(!countdown.isRunning());
        countdown.switchOff();
        QCOMPARE(countdown.seconds(), -1);
    }

    void ticksCountDownWhileALockableDatabaseIsActive()
    {
        QLabel label;
        std::optional<bool> active = true;
        LockCountdown countdown(&label, [&active] { return active; });
        QSignalSpy expired(&countdown, &LockCountdown::expired);
        countdown.set("10", true);
        countdown.tick();
        QCOMPARE(countdown.seconds(), 599);
        QCOMPARE(label.text(), QStringLiteral("\n - 599 - "));

        active.reset(); // no database window: nothing happens
        countdown.tick();
        QCOMPARE(countdown.seconds(), 599);
        QVERIFY(countdown.isRunning());

        const bool wasRunning = countdown.stop();
        QVERIFY(wasRunning && !countdown.isRunning());
        countdown.restore(wasRunning);
        QVERIFY(countdown.isRunning());

        active = false; // a database without file name or password stops it
        countdown.tick();
        QVERIFY(!countdown.isRunning());
        QVERIFY(label.text().isEmpty());

        active = true;
        countdown.set("0", true);
        countdown.restart("0");
        for (int i = 0; i < 60; ++i) {
            countdown.tick();
        }
        QCOMPARE(countdown.seconds(), 0);
        QCOMPARE(expired.count(), 1);
        QVERIFY(!countdown.isRunning());
        QVERIFY(label.text().isEmpty());
    }
};

VAULTBASE_TEST(LockCountdownTest)
#include "LockCountdownTest.moc"
