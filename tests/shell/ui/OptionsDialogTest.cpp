#include "TestRegistry.h"

#include "shell/LanguageStore.h"
#include "shell/ui/OptionsDialog.h"
#include "widgets/MessageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

namespace {

SettingsEnvironment environment()
{
    SettingsEnvironment env;
    env.baseFont = {"Sans Serif", 0, 1, -12, 0, 9};
    return env;
}

// Every setting the dialog shows, away from its default.
Settings everyOptionChanged()
{
    Settings s = Settings::defaults(environment());
    s.defaultDb = QStringLiteral("/data/Caf\u00E9.kvdb");
    s.editHiddenPass = true;
    s.alwaysAskForPassword = true;
    s.showDialogPassword = true;
    s.checkForPasswordFile = true;
    s.lock = true;
    s.lockInterval = "abc";
    s.lockOnScreenLock = false;
    s.clipboardClearSeconds = 45;
    s.deleteTempFiles = false;
    s.richText = false;
    s.setNewEntry = true;
    s.newEntryValue = "Entry %YY";
    s.fileTypes = "*.kvdb;*.png";
    s.startupFolder = QStringLiteral("/data/");
    s.noIniSave = true;
    s.showButtons = false;
    s.showStatusBar = false;
    s.hideCreateDate = false;
    s.smallIcons = true;
    s.showTrayIcon = true;
    s.lockOnTray = true;
    s.sendToTrayOnClose = true;
    s.sendToTrayOnStartup = true;
    s.backgroundColor = 0x00C0FFEE;
    s.font = {"Courier New", ColorRef::WindowText, 0, -16, 2, 12};
    s.useFontHeight = true;
    return s;
}

struct BoxKey
{
    const char *box;
    bool Settings::*key;
};

constexpr BoxKey kBoxKeys[] = {
    {"ChkHidePass", &Settings::hidePass},
    {"ChkPasswordDirectEdit", &Settings::editHiddenPass},
    {"ChkAskForPassword", &Settings::alwaysAskForPassword},
    {"ChkShowDialogPassword", &Settings::showDialogPassword},
    {"ChkCheckForPasswordFile", &Settings::checkForPasswordFile},
    {"ChkLock", &Settings::lock},
    {"ChkLockOnScreenLock", &Settings::lockOnScreenLock},
    {"ChkDeleteTempFiles", &Settings::deleteTempFiles},
    {"ChkRichText", &Settings::richText},
    {"ChkNewEntry", &Settings::setNewEntry},
    {"ChkNoIniSave", &Settings::noIniSave},
    {"ChkShowButtons", &Settings::showButtons},
    {"ChkShowStatusBar", &Settings::showStatusBar},
    {"ChkHideCreateDate", &Settings::hideCreateDate},
    {"ChkSmallIcons", &Settings::smallIcons},
    {"ChkShowTrayIcon", &Settings::showTrayIcon},
    {"ChkLockOnTray", &Settings::lockOnTray},
    {"ChkSendToTrayOnClose", &Settings::sendToTrayOnClose},
    {"ChkSendToTrayOnStartup", &Settings::sendToTrayOnStartup},
};

template<typename T>
T *control(const OptionsDialog &dialog, const char *name)
{
    return dialog.findChild<T *>(QLatin1String(name));
}

} // namespace

// The options dialog on its own: every control to its setting and back, the rules
// between controls, the pickers and what a bad lock interval counts as.
class OptionsDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void everySettingRoundTrips()
    {
        LanguageStore language;
        OptionsDialog dialog(language, environment());
        const Settings changed = everyOptionChanged();
        dialog.load(changed, true);
        QVERIFY(dialog.startupEntryWanted());
        Settings back = Settings::defaults(environment());
        dialog.store(back);
        QVERIFY(back == changed);

        dialog.load(Settings::defaults(environment()), false);
        QVERIFY(!dialog.startupEntryWanted());
        dialog.store(back);
        QVERIFY(back == Settings::defaults(environment()));
    }

    void eachBoxHoldsItsKey_data()
    {
        QTest::addColumn<int>("entry");
        for (int i = 0; i < int(std::size(kBoxKeys)); ++i) {
            QTest::newRow(kBoxKeys[i].box) << i;
        }
    }

    // Clicking one box changes its key and no other.
    void eachBoxHoldsItsKey()
    {
        QFETCH(int, entry);
        const BoxKey &boxKey = kBoxKeys[entry];
        LanguageStore language;
        OptionsDialog dialog(language, environment());
        Settings before = Settings::defaults(environment());
        before.showTrayIcon = true; // the tray boxes are usable
        dialog.load(before, false);
        control<QCheckBox>(dialog, boxKey.box)->click();
        Settings after = before;
        dialog.store(after);
        before.*boxKey.key = !(before.*boxKey.key);
        QVERIFY(after == before);
    }

    void boxesFollowTheBoxTheyDependOn()
    {
        LanguageStore language;
        OptionsDialog dialog(language, environment());
        Settings s = everyOptionChanged();
        dialog.load(s, false);
        auto *hidePass = control<QCheckBox>(dialog, "ChkHidePass");
        auto *directEdit = control<QCheckBox>(dialog, "ChkPasswordDirectEdit");
        hidePass->click();
        QVERIFY(!directEdit->isChecked() && !directEdit->isEnabled());
        hidePass->click();
        QVERIFY(!directEdit->isChecked() && directEdit->isEnabled());

        control<QCheckBox>(dialog, "ChkShowTrayIcon")->click();
        for (const char *name : {"ChkLockOnTray", "ChkSendToTrayOnClose", "ChkSendToTrayOnStartup"}) {
            QVERIFY2(!control<QCheckBox>(dialog, name)->isChecked() && !control<QCheckBox>(dialog, name)->isEnabled(),
                     name);
        }
        auto *newEntryValue = control<QComboBox>(dialog, "CbbNewEntry");
        QVERIFY(newEntryValue->isEnabled());
        control<QCheckBox>(dialog, "ChkNewEntry")->click();
        QVERIFY(!newEntryValue->isEnabled());

        // Loading runs the rules as well: direct editing needs hidden passwords.
        s.hidePass = false;
        dialog.load(s, false);
        dialog.store(s);
        QVERIFY(!s.editHiddenPass);
    }

    void aLockIntervalThatIsNoPlainNumberSaysWhatItCountsAs_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("hint");
        QTest::newRow("number") << "30" << QString();
        QTest::newRow("no number") << "ten" << "(counts as 10 min)";
        QTest::newRow("empty") << "" << "(counts as 10 min)";
        QTest::newRow("zero") << "0" << "(counts as 1 min)";
        QTest::newRow("negative") << "-5" << "(counts as 1 min)";
    }

    void aLockIntervalThatIsNoPlainNumberSaysWhatItCountsAs()
    {
        QFETCH(QString, typed);
        QFETCH(QString, hint);
        LanguageStore language;
        OptionsDialog dialog(language, environment());
        dialog.load(Settings::defaults(environment()), false);
        control<QComboBox>(dialog, "CbbLock")->setEditText(typed);
        auto *label = control<QLabel>(dialog, "LblLockApplies");
        QCOMPARE(label->isVisibleTo(&dialog), !hint.isEmpty());
        if (!hint.isEmpty()) {
            QCOMPARE(label->text(), hint);
        }
    }

    void pickersAndResets()
    {
        LanguageStore language;
        OptionsDialog dialog(language, environment());
        std::optional<QFont> font;
        std::optional<QColor> color;
        QString folder;
        QString file;
        dialog.pickers().font = [&font](QWidget *, const QFont &) { return font; };
        dialog.pickers().color = [&color](QWidget *, const QColor &) { return color; };
        dialog.pickers().folder = [&folder](QWidget *, const QString &) { return folder; };
        dialog.pickers().file = [&file](QWidget *) { return file; };
        Settings s = Settings::defaults(environment());
        s.useFontSettings = false;
        dialog.load(s, false);

        // Cancelled pickers change nothing.
        for (const char *name : {"BtnFont", "PnlBackgroundColor"}) {
            control<QPushButton>(dialog, name)->click();
        }
        for (const char *name : {"BtnOpen", "BtnStartupFolder"}) {
            control<QToolButton>(dialog, name)->click();
        }
        Settings back = s;
        dialog.store(back);
        QVERIFY(back == s);

        font = QFont(QStringLiteral("Courier"), 14);
        font->setFixedPitch(true);
        color = QColor(0x11, 0x22, 0x33);
        folder = QStringLiteral("/data");
        file = QStringLiteral("/data/Bank.kvdb");
        control<QPushButton>(dialog, "BtnFont")->click();
        control<QPushButton>(dialog, "PnlBackgroundColor")->click();
        control<QToolButton>(dialog, "BtnOpen")->click();
        control<QToolButton>(dialog, "BtnStartupFolder")->click();
        QCOMPARE(control<QPushButton>(dialog, "BtnFont")->text(), QStringLiteral("Courier"));
        QCOMPARE(dialog.font().family(), QStringLiteral("Courier"));
        dialog.store(back);
        QCOMPARE(back.font, (FontNumbers{"Courier", ColorRef::WindowText, 1, -19, 2, 14}));
        QVERIFY(back.useFontSettings && back.useFontHeight); // a chosen font counts
        QCOMPARE(back.backgroundColor, 0x00332211);
        QCOMPARE(back.startupFolder, QStringLiteral("/data/"));
        QCOMPARE(back.defaultDb, QStringLiteral("/data/Bank.kvdb"));

        // A folder the settings file cannot name is refused, with the reason.
        folder = QStringLiteral("/\u0434\u0430\u043D\u043D\u044B\u0435");
        {
            MessageBox::ScopedAnswerer answer([](const MessageBox::Request &) { return MessageBox::Button::Ok; });
            control<QToolButton>(dialog, "BtnStartupFolder")->click();
        }
        QCOMPARE(control<QLineEdit>(dialog, "EdtStartupFolder")->text(), QStringLiteral("/data/"));

        control<QToolButton>(dialog, "BtnResetFont")->click();
        control<QToolButton>(dialog, "BtnBackgroundColorReset")->click();
        control<QToolButton>(dialog, "BtnFileTypesReset")->click();
        control<QComboBox>(dialog, "CbbFileTypes")->setEditText(QStringLiteral("*.*"));
        control<QToolButton>(dialog, "BtnFileTypesReset")->click();
        dialog.store(back);
        QCOMPARE(back.font, (FontNumbers{"Sans Serif", ColorRef::WindowText, 1, -12, 0, 9}));
        QVERIFY(!back.useFontHeight);
        QCOMPARE(back.backgroundColor, 0x00FFFFFF);
        QCOMPARE(back.fileTypes, QByteArray("*.kvdb"));
    }
};

VAULTBASE_TEST(OptionsDialogTest)
#include "OptionsDialogTest.moc"
