#include "MainWindowTestKit.h"

#include "shell/ui/LanguageMenu.h"
#include "shell/ui/MainMenus.h"

#include <QAction>
#include <QMap>
#include <QMenu>

using namespace mainwintest;

namespace {

// Every text the main window and its database windows show in menus, items and tips.
QMap<QString, QString> allTexts(MainWindow &window)
{
    QMap<QString, QString> texts;
    int unnamed = 0;
    for (QAction *action : window.findChildren<QAction *>()) {
        if (action->isSeparator() || action->menu()) {
            continue; // a menu's own action shows the menu's title, compared below
        }
        QString name = action->objectName();
        if (name.isEmpty()) {
            name = QStringLiteral("#%1").arg(++unnamed);
        }
        // An action shown in two menus is one object: its name once is enough.
        texts.insert(QStringLiteral("action ") + name + QLatin1Char(' ') + QString::number(quintptr(action)),
                     action->text() + QLatin1Char('|') + action->toolTip());
    }
    for (QMenu *menu : window.findChildren<QMenu *>()) {
        texts.insert(QStringLiteral("menu ") + menu->objectName() + QLatin1Char(' ') + QString::number(quintptr(menu)),
                     menu->title());
    }
    return texts;
}

void writeLanguages(Program &program, const QByteArray &list)
{
    const QString folder = program.paths.programFolder();
    QVERIFY(writeFile(folder + QStringLiteral("Languages.ini"), list));
    QVERIFY(writeFile(folder + QStringLiteral("de.lng"), "FrmMain.MenFile=\"Datei\"\r\nFrmMain.MenOpen=\"\"\r\n"));
    QVERIFY(writeFile(folder + QStringLiteral("short.lng"),
                      "FrmMain.m_aMenScCtrl=\"Strg\"\r\nFrmMain.m_aMWrongPassword=\"Falsches Passwort!\"\r\n"
                      "FrmMain.m_aMWarning=\"Achtung\"\r\nFrmChild.MenSave=\"Speichern\"\r\n"));
}

const QByteArray kTwoLanguages = "LanguageName=\"Deutsch\"\r\nLanguageFile=\"de.lng\"\r\n"
                                 "LanguageName=\"Short\"\r\nLanguageFile=\"short.lng\"\r\n";

QAction *languageItem(MainWindow &window, const QString &name)
{
    for (QAction *item : window.menus().languages->languageActions()) {
        if (item->text() == name) {
            return item;
        }
    }
    return nullptr;
}

} // namespace

// Languages applied to the main window: one changed caption, English back again,
// shortcut words, messages, and the language chosen at start-up.
class MainWindowLanguageTest : public QObject
{
    Q_OBJECT

private slots:
    // No answerer outlives its test function.
    void cleanup() { vaultbase::test::finishModalAnswers(); }

    void aFileChangingOneCaptionThenEnglishAgain()
    {
        Program program;
        writeLanguages(program, kTwoLanguages);
        auto window = program.window();
        QVERIFY(start(*window));
        const QMap<QString, QString> english = allTexts(*window);
        QCOMPARE(window->menus().MenNew->text(), QStringLiteral("New\tCtrl+N"));
        QCOMPARE(window->menus().MenPasswordGenerator->text(), QStringLiteral("Password generator\tF12"));

        QAction *deutsch = languageItem(*window, QStringLiteral("Deutsch"));
        QVERIFY(deutsch);
        QCOMPARE(deutsch->toolTip(), QStringLiteral("de.lng"));
        deutsch->trigger();
        QVERIFY(deutsch->isChecked());
        QCOMPARE(window->language().currentName(), QByteArray("Deutsch"));
        QCOMPARE(window->menus().MenFile->title(), QStringLiteral("Datei"));
        QMap<QString, QString> changed = allTexts(*window);
        QStringList differing;
        for (auto it = english.cbegin(); it != english.cend(); ++it) {
            if (changed.value(it.key()) != it.value()) {
                differing.append(it.key().section(QLatin1Char(' '), 0, 1));
            }
        }
        // An empty text keeps the English one; nothing else changed.
        QCOMPARE(differing, QStringList{QStringLiteral("menu MenFile")});

        window->menus().languages->englishAction()->trigger();
        QCOMPARE(window->language().currentName(), QByteArray("English"));
        QCOMPARE(allTexts(*window), english);
    }

    void shortcutWordsAndMessagesInTheChosenLanguage()
    {
        Program program;
        writeLanguages(program, kTwoLanguages);
        auto window = program.window();
        QVERIFY(start(*window));
        QAction *shortItem = languageItem(*window, QStringLiteral("Short"));
        shortItem->trigger();
        shortItem->trigger(); // twice: the suffix is never appended twice
        QCOMPARE(window->menus().MenNew->text(), QStringLiteral("New\tStrg+N"));
        QCOMPARE(window->menus().MenExit->text(), QStringLiteral("Exit\tStrg+Q"));
        QCOMPARE(window->menus().MenNew->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
        QCOMPARE(window->findChild<QAction *>(QStringLiteral("TbSave"))->toolTip(), QStringLiteral("Speichern"));
        QCOMPARE(window->activeChild()->action(QStringLiteral("MenSave"))->text().section(QLatin1Char('\t'), 0, 0),
                 QStringLiteral("Speichern"));

        const QString path = program.file(QStringLiteral("x.kvdb"));
        QVERIFY(writeDatabase(path, "pw"));
        MessageAnswers messages;
        PasswordAnswers answers({QByteArray("bad"), QByteArray("pw")});
        QVERIFY(window->openPickedFile(path));
        QCOMPARE(messages.texts(), QStringList{QStringLiteral("Falsches Passwort!")});
        QCOMPARE(messages.requests.first().title, QStringLiteral("Achtung"));

        window->menus().languages->englishAction()->trigger();
        QCOMPARE(window->menus().MenNew->text(), QStringLiteral("New\tCtrl+N"));
        QCOMPARE(window->findChild<QAction *>(QStringLiteral("TbSave"))->toolTip(), QStringLiteral("Save"));
    }

    void theStoredLanguageWinsOverTheListsDefault()
    {
        Program program;
        writeLanguages(program, "LanguageDefault=\"Deutsch\"\r\n" + kTwoLanguages);
        {
            auto window = program.window();
            QVERIFY(start(*window));
            QCOMPARE(window->menus().MenFile->title(), QStringLiteral("Datei"));
            QVERIFY(languageItem(*window, QStringLiteral("Deutsch"))->isChecked());
            languageItem(*window, QStringLiteral("Short"))->trigger();
            QVERIFY(window->close());
        }
        auto window = program.window();
        QVERIFY(start(*window));
        QCOMPARE(window->language().currentName(), QByteArray("Short"));
        QVERIFY(languageItem(*window, QStringLiteral("Short"))->isChecked());
        QCOMPARE(window->menus().MenNew->text(), QStringLiteral("New\tStrg+N"));
        QCOMPARE(window->menus().MenFile->title(), QStringLiteral("File"));
    }

    void aListedEnglishHidesTheBuiltInOne()
    {
        Program program;
        writeLanguages(program, "LanguageName=\"English\"\r\nLanguageFile=\"en.lng\"\r\n" + kTwoLanguages);
        auto window = program.window();
        QVERIFY(start(*window));
        QVERIFY(!window->menus().languages->englishAction()->isVisible());
        QCOMPARE(window->menus().languages->languageActions().size(), 3);
        // A listed file that does not exist gives the English texts under its name.
        languageItem(*window, QStringLiteral("English"))->trigger();
        QCOMPARE(window->language().currentName(), QByteArray("English"));
        QCOMPARE(window->menus().MenFile->title(), QStringLiteral("File"));
    }
};

VAULTBASE_TEST(MainWindowLanguageTest)
#include "MainWindowLanguageTest.moc"
