#include "TestRegistry.h"

#include "ShellTestFiles.h"

#include "shell/AutostartEntry.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

// The desktop session's start-up entry: where it lies, what it says, written and removed.
class AutostartEntryTest : public QObject
{
    Q_OBJECT

private slots:
    void liesInTheConfigHome()
    {
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", "/somewhere/config");
        QCOMPARE(AutostartEntry().path(), QStringLiteral("/somewhere/config/autostart/vaultbase.desktop"));
        qputenv("XDG_CONFIG_HOME", "relative/config"); // not absolute: ignored
        QCOMPARE(AutostartEntry().path(), QDir::homePath() + QStringLiteral("/.config/autostart/vaultbase.desktop"));
        qunsetenv("XDG_CONFIG_HOME");
        QCOMPARE(AutostartEntry().path(), QDir::homePath() + QStringLiteral("/.config/autostart/vaultbase.desktop"));
        if (!saved.isNull()) {
            qputenv("XDG_CONFIG_HOME", saved);
        }
    }

    void writtenAndRemoved()
    {
        QTemporaryDir dir;
        const AutostartEntry entry(dir.filePath(QStringLiteral("autostart/vaultbase.desktop")));
        QVERIFY(!entry.exists());
        QVERIFY(entry.remove()); // nothing there: already as asked
        QVERIFY(entry.setPresent(true, QStringLiteral("/opt/vault base/vaultbase")));
        QVERIFY(entry.exists());
        QCOMPARE(shelltest::readAll(entry.path()), QByteArray("[Desktop Entry]\n"
                                                              "Type=Application\n"
                                                              "Name=Brightway Vaultbase\n"
                                                              "Exec=\"/opt/vault base/vaultbase\"\n"
                                                              "Terminal=false\n"
                                                              "X-GNOME-Autostart-enabled=true\n"));
        QVERIFY(entry.setPresent(false, QString()));
        QVERIFY(!entry.exists());

        // A folder that cannot be made: the failure is told.
        QVERIFY(shelltest::writeFile(dir.filePath(QStringLiteral("file")), "x"));
        QVERIFY(!AutostartEntry(dir.filePath(QStringLiteral("file/autostart/vaultbase.desktop"))).write(QStringLiteral("/p")));
    }

    void execValueQuotesReservedCharacters_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << "/usr/bin/vaultbase" << "\"/usr/bin/vaultbase\"";
        QTest::newRow("quote, dollar, backtick") << "/a\"b$c`d" << "\"/a\\\\\"b\\\\$c\\\\`d\"";
        QTest::newRow("backslash") << "/a\\b" << "\"/a\\\\\\\\b\"";
        QTest::newRow("percent") << "/100%/v" << "\"/100%%/v\"";
    }

    void execValueQuotesReservedCharacters()
    {
        QFETCH(QString, program);
        QFETCH(QString, exec);
        QCOMPARE(AutostartEntry::execValue(program), exec);
    }
};

VAULTBASE_TEST(AutostartEntryTest)
#include "AutostartEntryTest.moc"
