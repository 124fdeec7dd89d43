#include "TestRegistry.h"

#include "shell/LanguageStore.h"
#include "widgets/LanguageApplier.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMainWindow>
#include <QTabWidget>
#include <QTest>

namespace {

constexpr LanguageText kTexts[] = {
    {"Caption", "Test window"}, {"MenFile", "File"},      {"MenNew", "New"},       {"MenRemove", "Remove"},
    {"MenFind", "Find"},        {"LblName", "Name"},      {"ChkHide", "Hide"},     {"GrpOptions", "Options"},
    {"TabGeneral", "General"},  {"m_aMNotAControl", "x"},
};
constexpr ShortcutText kShortcuts[] = {{"MenNew", "Ctrl+N"}, {"MenRemove", "Del"}, {"MenFind", "Ctrl+Alt+F"}};
constexpr LanguageSection kSection{"FrmTest.", kTexts, kShortcuts};

const QByteArray kGerman = "FrmTest.Caption=\"Testfenster\"\r\n"
                           "FrmTest.MenFile=\"Datei\"\r\n"
                           "FrmTest.MenNew=\"Neu\"\r\n"
                           "FrmTest.MenRemove=\"Entfernen\"\r\n"
                           "FrmTest.LblName=\"Name:\"\r\n"
                           "FrmTest.ChkHide=\"Verbergen\"\r\n"
                           "FrmTest.GrpOptions=\"Optionen\"\r\n"
                           "FrmTest.TabGeneral=\"Allgemein\"\r\n"
                           "FrmMain.m_aMenScCtrl=\"Strg\"\r\n"
                           "FrmMain.m_aMenScDelete=\"Entf\"\r\n";

template <typename T>
T *named(const char *name, T *object)
{
    object->setObjectName(QString::fromLatin1(name));
    return object;
}

struct Window
{
    QMainWindow window;
    QMenu *file = nullptr;
    QAction *newAction = nullptr;
    QAction *remove = nullptr;
    QAction *find = nullptr;
    QLabel *label = nullptr;
    QCheckBox *check = nullptr;
    QGroupBox *group = nullptr;
    QTabWidget *tabs = nullptr;
    QLabel *dialogLabel = nullptr;
    QLabel *unnamed = nullptr;

    Window()
    {
        file = named("MenFile", window.menuBar()->addMenu(QStringLiteral("?")));
        newAction = named("MenNew", file->addAction(QStringLiteral("?")));
        remove = named("MenRemove", file->addAction(QStringLiteral("?")));
        find = named("MenFind", new QAction(&window));
        auto *central = new QWidget(&window);
        window.setCentralWidget(central);
        label = named("LblName", new QLabel(central));
        check = named("ChkHide", new QCheckBox(central));
        group = named("GrpOptions", new QGroupBox(central));
        tabs = new QTabWidget(central);
        tabs->addTab(named("TabGeneral", new QWidget), QStringLiteral("?"));
        unnamed = new QLabel(QStringLiteral("keep"), central);
        // A dialog owned by the window has a section of its own.
        auto *dialog = new QDialog(&window);
        dialogLabel = named("LblName", new QLabel(QStringLiteral("dialog"), dialog));
    }

    QStringList texts() const
    {
        return {window.windowTitle(), file->title(),   newAction->text(), remove->text(), find->text(),
                label->text(),        check->text(),   group->title(),    tabs->tabText(0), unnamed->text(),
                dialogLabel->text()};
    }
};

} // namespace

class LanguageApplierTest : public QObject
{
    Q_OBJECT

private slots:
    void englishTextsAndShortcuts()
    {
        Window w;
        LanguageStore store;
        applyLanguageTexts(&w.window, store, kSection);
        QCOMPARE(w.texts(), (QStringList{"Test window", "File", "New\tCtrl+N", "Remove\tDel", "Find\tCtrl+Alt+F",
                                         "Name", "Hide", "Options", "General", "keep", "dialog"}));
        QCOMPARE(w.newAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
        QCOMPARE(w.remove->shortcut(), QKeySequence(Qt::Key_Delete));
        QCOMPARE(w.find->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_F));
        QCOMPARE(captionOf(w.newAction->text()), QStringLiteral("New"));
        QCOMPARE(captionOf(w.label->text()), QStringLiteral("Name"));
    }

    void switchingToALanguageAndBackRestoresEveryText()
    {
        Window w;
        LanguageStore store;
        applyLanguageTexts(&w.window, store, kSection);
        const QStringList english = w.texts();

        store.loadFromText(kGerman);
        applyLanguageTexts(&w.window, store, kSection);
        applyLanguageTexts(&w.window, store, kSection); // twice: no suffix piles up
        QCOMPARE(w.texts(), (QStringList{"Testfenster", "Datei", "Neu\tStrg+N", "Entfernen\tEntf",
                                         "Find\tStrg+Alt+F", "Name:", "Verbergen", "Optionen", "Allgemein", "keep",
                                         "dialog"}));
        // The key itself stays the same in every language.
        QCOMPARE(w.newAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
        QCOMPARE(w.newAction->iconText(), QStringLiteral("Neu"));

        store.applyEnglish();
        applyLanguageTexts(&w.window, store, kSection);
        QCOMPARE(w.texts(), english);
    }
};

VAULTBASE_TEST(LanguageApplierTest)
#include "LanguageApplierTest.moc"
