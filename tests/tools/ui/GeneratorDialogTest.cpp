#include "ModalAnswers.h"
#include "TestRegistry.h"

#include "shell/LanguageStore.h"
#include "tools/RandomSource.h"
#include "tools/ui/GeneratorDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

template <typename T>
T *child(QWidget &dialog, const char *name)
{
    T *widget = dialog.findChild<T *>(QString::fromLatin1(name));
    Q_ASSERT(widget);
    return widget;
}

// Runs `step` once the dialog's modal loop is running.
void whenShown(QDialog &dialog, std::function<void()> step)
{
    new vaultbase::test::ModalAnswerer(QStringLiteral("GeneratorDialog"), [&dialog, step](QWidget *modal) {
        if (modal != &dialog) {
            return false;
        }
        step();
        return true;
    }, 1, 1);
}

} // namespace

class GeneratorDialogTest : public QObject
{
    Q_OBJECT

private slots:
    // No answerer outlives its test function.
    void cleanup() { vaultbase::test::finishModalAnswers(); }

    void showingGeneratesFromTheLengthAndClasses()
    {
        LanguageStore store;
        GeneratorDialog dialog(store);
        auto *password = child<QLineEdit>(dialog, "EdtPassword");
        auto *length = child<QLineEdit>(dialog, "EdtLength");
        dialog.setRandomSource(std::make_unique<CRandomSource>(42));
        dialog.show();
        CRandomSource same(42);
        QCOMPARE(dialog.password(), generatePassword(8, PasswordClasses{}, same));
        QCOMPARE(password->text().size(), 8);
        QCOMPARE(dialog.focusWidget(), password);

        length->clear();
        QTest::keyClicks(length, QStringLiteral("12345"));
        QCOMPARE(length->text(), QStringLiteral("123")); // three characters at most
        dialog.generate();
        QCOMPARE(dialog.password().size(), 123);
        for (const char *text : {"abc", "0", "-5", ""}) {
            length->setText(QString::fromLatin1(text));
            dialog.generate();
            QCOMPARE(dialog.password().size(), 8);
            QCOMPARE(length->text(), QString::fromLatin1(text)); // the field keeps what was typed
        }
        length->setText(QStringLiteral("3"));
        dialog.generate();
        QCOMPARE(dialog.password().size(), 3);
    }

    void noClassCheckedChecksNumbers()
    {
        LanguageStore store;
        GeneratorDialog dialog(store);
        for (const char *name : {"ChkNumbers", "ChkUpperCase", "ChkLowerCase", "ChkNonAlpha"}) {
            child<QCheckBox>(dialog, name)->setChecked(false);
        }
        dialog.generate();
        QVERIFY(child<QCheckBox>(dialog, "ChkNumbers")->isChecked());
        QVERIFY(!child<QCheckBox>(dialog, "ChkUpperCase")->isChecked());
        const QByteArray password = dialog.password();
        QCOMPARE(password.size(), 8);
        QVERIFY(std::all_of(password.begin(), password.end(), [](char c) { return c >= '0' && c <= '9'; }));
    }

    void copyLayoutCopiesExactlyTheFieldAndReturnsToOk()
    {
        LanguageStore store;
        GeneratorDialog dialog(store);
        auto *password = child<QLineEdit>(dialog, "EdtPassword");
        QApplication::clipboard()->setText(QStringLiteral("before"));
        QString shown;
        whenShown(dialog, [&] {
            QVERIFY(!child<QPushButton>(dialog, "BtnCopy")->isHidden());
            QVERIFY(child<QPushButton>(dialog, "BtnOK")->isHidden());
            password->end(false);
            QTest::keyClicks(password, QStringLiteral(" \xA7x")); // the user's own edit
            shown = password->text();
            QTest::keyClick(password, Qt::Key_Return); // Copy is the default button here
        });
        QCOMPARE(dialog.execCopyLayout(), int(QDialog::Accepted));
        QCOMPARE(shown.size(), 11);
        QCOMPARE(QApplication::clipboard()->text(), shown);
        QVERIFY(!dialog.copyLayout());
        QVERIFY(child<QPushButton>(dialog, "BtnCopy")->isHidden());
        QVERIFY(!child<QPushButton>(dialog, "BtnOK")->isHidden());
    }

    void okLayoutKeysAndKeptOptions()
    {
        LanguageStore store;
        GeneratorDialog dialog(store);
        child<QCheckBox>(dialog, "ChkNonAlpha")->setChecked(false);
        child<QLineEdit>(dialog, "EdtLength")->setText(QStringLiteral("20"));
        QByteArray generated;
        whenShown(dialog, [&] {
            generated = dialog.password();
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(generated.size(), 20);
        QCOMPARE(dialog.password(), generated);
        whenShown(dialog, [&] { QTest::keyClick(dialog.focusWidget(), Qt::Key_Escape); });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        // The options stay for the next use, and each showing makes a new password.
        QVERIFY(!child<QCheckBox>(dialog, "ChkNonAlpha")->isChecked());
        QCOMPARE(child<QLineEdit>(dialog, "EdtLength")->text(), QStringLiteral("20"));
        QVERIFY(dialog.password() != generated);
    }

    void textsFollowTheLanguage()
    {
        LanguageStore store;
        store.loadFromText("FrmGen.Caption=\"Erzeugen\"\r\nFrmGen.ChkNumbers=\"Zahlen\"\r\nFrmGen.BtnCopy=\"Kopieren\"\r\n");
        GeneratorDialog dialog(store);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Erzeugen"));
        QCOMPARE(child<QPushButton>(dialog, "BtnGenerate")->text(), QStringLiteral("Erzeugen"));
        QCOMPARE(child<QCheckBox>(dialog, "ChkNumbers")->text(), QStringLiteral("Zahlen"));
        QCOMPARE(child<QCheckBox>(dialog, "ChkNonAlpha")->text(), QStringLiteral("Use non alphanumeric characters"));
        QCOMPARE(child<QPushButton>(dialog, "BtnCopy")->text(), QStringLiteral("Kopieren"));
    }
};

VAULTBASE_TEST(GeneratorDialogTest)
#include "GeneratorDialogTest.moc"
