#include "TestRegistry.h"

#include "ShellTestFiles.h"

#include "shell/LanguageList.h"
#include "shell/LanguageStore.h"
#include "shell/MainWindowTexts.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

using shelltest::readAll;
using shelltest::writeFile;

QString sample()
{
    return vaultbase::test::dataPath(QStringLiteral("shell/language-broken.lng"));
}

// A section as another window declares its own.
constexpr LanguageText kGeneratorTexts[] = {{"BtnGenerate", "Generate"}, {"MenCopy", "Copy"}};
constexpr ShortcutText kGeneratorShortcuts[] = {{"MenCopy", "Ctrl+Alt+C"}};
constexpr LanguageSection kGenerator{"FrmGen.", kGeneratorTexts, kGeneratorShortcuts};

// Every main-window text as English shows it.
QList<QByteArray> allMainTexts(const LanguageStore &store)
{
    QList<QByteArray> texts;
    for (const LanguageText &text : mainWindowTexts().texts) {
        texts.append(store.text(mainWindowTexts(), text.key));
    }
    for (const LanguageText &text : mainWindowChildTexts().texts) {
        texts.append(store.text(mainWindowChildTexts(), text.key));
    }
    return texts;
}

} // namespace

class LanguageTest : public QObject
{
    Q_OBJECT

private slots:
    void languageFileReplacesOnlyItsOwnTexts()
    {
        LanguageStore store;
        QCOMPARE(store.currentName(), QByteArray("English"));
        store.apply(sample(), "Deutsch");
        QCOMPARE(store.currentName(), QByteArray("Deutsch"));
        const LanguageSection &main = mainWindowTexts();
        QCOMPARE(store.text(main, "MenFile"), QByteArray("Datei"));
        // Its closing quote is missing: the text runs to the next quote, over the line end,
        // as the Windows program reads it.
        QCOMPARE(store.text(main, "MenNew"), QByteArray("Neu\r\nFrmMain.MenOpen=\tStrg+N"));
        QCOMPARE(store.text(main, "MenOpen"), QByteArray("\xD6" "ffnen\tStrg+O"));
        QCOMPARE(store.text(main, "MenExit"), QByteArray("Exit\tStrg+Q")); // empty keeps English
        QCOMPARE(store.text(main, "MenUsage"), QByteArray("Help\tF1"));
        QCOMPARE(store.text(main, "m_aMWrongPassword"), QByteArray("Wrong password!"));
        QCOMPARE(store.text(mainWindowChildTexts(), "MenSave"), QByteArray("Speichern"));
        QCOMPARE(store.uiText(main, "MenOpen"), QStringLiteral("\u00D6ffnen\tStrg+O"));
        QCOMPARE(store.text("FrmMain.Unknown", "dflt"), QByteArray("dflt"));
    }

    void applyingEnglishRestoresEveryTextOnce()
    {
        LanguageStore store;
        const QList<QByteArray> english = allMainTexts(store);
        QCOMPARE(english.at(mainWindowTexts().texts.size() - 1), QByteArray("Warning"));
        QVERIFY(english.contains("New\tCtrl+N"));
        QVERIFY(english.contains("Password generator\tF12"));
        QVERIFY(english.contains("Refresh\tF5"));

        store.apply(sample(), "Deutsch");
        QVERIFY(allMainTexts(store) != english);
        store.apply(sample(), "Deutsch");
        store.applyEnglish();
        QCOMPARE(allMainTexts(store), english);
        QCOMPARE(store.currentName(), QByteArray("English"));
        QVERIFY(!store.hasEntries());
    }

    void missingOrUnreadableFileGivesEnglishUnderThatName()
    {
        LanguageStore store;
        store.apply(sample(), "Deutsch");
        store.apply(QStringLiteral("/nonexistent/French.lng"), "Fran\xE7" "ais");
        QCOMPARE(store.currentName(), QByteArray("Fran\xE7" "ais"));
        QCOMPARE(store.text(mainWindowTexts(), "MenFile"), QByteArray("File"));

        store.apply(sample(), "Deutsch");
        QTemporaryDir dir;
        store.apply(dir.path(), "Folder"); // exists, but no file to read
        QCOMPARE(store.text(mainWindowTexts(), "MenFile"), QByteArray("File"));

        // Without reload only the name changes.
        store.apply(sample(), "Deutsch");
        store.apply(QString(), "Other", false);
        QCOMPARE(store.currentName(), QByteArray("Other"));
        QCOMPARE(store.text(mainWindowTexts(), "MenFile"), QByteArray("Datei"));
    }

    void storeTravelsAsText()
    {
        LanguageStore source;
        source.apply(sample(), "Deutsch");
        QFile file(sample());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(source.toText(), file.readAll());

        LanguageStore carried;
        carried.loadFromText(source.toText());
        QCOMPARE(carried.currentName(), QByteArray());
        QCOMPARE(allMainTexts(carried), allMainTexts(source));
        carried.loadFromText({});
        QCOMPARE(carried.text(mainWindowTexts(), "MenFile"), QByteArray("File"));
        QCOMPARE(LanguageStore().toText(), QByteArray());
    }

    void controlsFindTheirTextByObjectName()
    {
        LanguageStore store;
        store.apply(sample(), "Deutsch");
        QCOMPARE(store.textForObject(mainWindowTexts(), QStringLiteral("MenFile")), std::optional<QString>(QStringLiteral("Datei")));
        QCOMPARE(store.textForObject(mainWindowTexts(), QStringLiteral("MenLock")),
                 std::optional<QString>(QStringLiteral("Lock program\tStrg+L")));
        QVERIFY(!store.textForObject(mainWindowTexts(), QStringLiteral("PnlBottom")));
        QVERIFY(!store.textForObject(mainWindowTexts(), QString()));
        QVERIFY(!store.textForObject(mainWindowTexts(), QStringLiteral("Men\u0416")));

        // Another window's section works the same way, shortcut words included.
        QCOMPARE(store.textForObject(kGenerator, QStringLiteral("BtnGenerate")), std::optional<QString>(QStringLiteral("Erzeugen")));
        QCOMPARE(store.text(kGenerator, "MenCopy"), QByteArray("Copy\tStrg+Alt+C"));
        QCOMPARE(store.text(kGenerator, "NotInTable"), QByteArray());
        QCOMPARE(store.shortcutText("Shift+Del"), QByteArray("Shift+Entf"));
        QCOMPARE(store.shortcutText("Ins"), QByteArray("Ins"));
        QCOMPARE(store.shortcutText("F"), QByteArray("F"));
    }

    void languageListIsReadPairByPairInFileOrder()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Languages.ini"));
        QVERIFY(writeFile(path, "LanguageDefault=\"Deutsch\"\r\n"
                                "LanguageName=\"Deutsch\"\r\nLanguageFile=\"German.lng\"\r\n"
                                "LanguageName=\"Fran\xE7" "ais\"\r\nLanguageFile=\"Lang\\French.lng\"\r\n"
                                "LanguageName=\"Deutsch\"\r\nLanguageFile=\"German2.lng\"\r\n"
                                "LanguageName=\"\"\r\nLanguageFile=\"Empty.lng\"\r\n"
                                "LanguageName=\"Late\"\r\nLanguageFile=\"Late.lng\"\r\n"));
        LanguageList list = LanguageList::load(path);
        QCOMPARE(list.defaultName, QByteArray("Deutsch"));
        QCOMPARE(list.entries.size(), 3);
        QCOMPARE(list.entries.at(1), (LanguageList::Entry{"Fran\xE7" "ais", "Lang\\French.lng"}));
        QVERIFY(!list.hidesBuiltInEnglish());
        // The settings' "LanguageName" wins over "LanguageDefault".
        QCOMPARE(list.wanted("Fran\xE7" "ais"), QByteArray("Fran\xE7" "ais"));
        QCOMPARE(list.wanted(""), QByteArray("Deutsch"));
        QCOMPARE(list.indexOf(list.wanted("")), 2); // applied in turn: the last one stays
        QCOMPARE(list.indexOf("Klingon"), -1);

        QVERIFY(writeFile(path, "LanguageName=\"English\"\r\nLanguageFile=\"English.lng\"\r\n"
                                "LanguageName=\"Deutsch\r\nLanguageFile=\"German.lng\"\r\n"));
        list = LanguageList::load(path);
        QCOMPARE(list.defaultName, QByteArray());
        QCOMPARE(list.entries, (QList<LanguageList::Entry>{{"English", "English.lng"}}));
        QVERIFY(list.hidesBuiltInEnglish());

        QVERIFY(LanguageList::load(dir.filePath(QStringLiteral("missing.ini"))).entries.isEmpty());
    }
};

VAULTBASE_TEST(LanguageTest)
#include "LanguageTest.moc"
