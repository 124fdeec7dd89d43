#include "ModalAnswers.h"
#include "TestRegistry.h"

#include "document/KeyFile.h"
#include "shell/LanguageStore.h"
#include "shell/Settings.h"
#include "tools/ui/GeneratorDialog.h"
#include "tools/ui/PasswordDialog.h"
#include "widgets/MessageBox.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

const QString kNoMatch = QStringLiteral("Password and confirmation do not match! Please correct your input!");

// One password dialog with what it depends on, and a record of the messages it shows.
struct Fixture
{
    LanguageStore language;
    Settings settings;
    GeneratorDialog generator{language};
    std::optional<QString> activeDatabase; // no database window
    PasswordDialog dialog{language, settings, generator, [this] { return activeDatabase; }};
    QList<MessageBox::Request> messages;
    MessageBox::ScopedAnswerer answerer{[this](const MessageBox::Request &request) {
        messages.append(request);
        return MessageBox::Button::Ok;
    }};
    QList<QString> proposals;
    QString chosenPath;

    Fixture()
    {
        dialog.setKeyFileChooser([this](QWidget *, PasswordDialog::KeyFileAction, const QString &proposed, const QString &filter) {
            proposals.append(proposed);
            Q_ASSERT(filter == QStringLiteral("Password Key (*.kvky)"));
            return chosenPath;
        });
    }

    template <typename T>
    T *child(const char *name)
    {
        return dialog.findChild<T *>(QString::fromLatin1(name));
    }
};

} // namespace

class PasswordDialogTest : public QObject
{
    Q_OBJECT

private slots:
    // No answerer outlives its test function.
    void cleanup() { vaultbase::test::finishModalAnswers(); }

    void confirmationMustMatchExactly()
    {
        Fixture f;
        f.dialog.setConfirmationMode(true);
        f.dialog.show();
        f.dialog.setPassword("a");
        f.dialog.setConfirmation("A");
        f.dialog.confirm();
        QCOMPARE(f.messages.size(), 1);
        QCOMPARE(f.messages.at(0).type, MessageBox::Type::Warning);
        QCOMPARE(f.messages.at(0).text, kNoMatch);
        QVERIFY(f.dialog.isVisible());
        QCOMPARE(f.dialog.result(), int(QDialog::Rejected));
        QCOMPARE(f.dialog.password(), QByteArray("a")); // both texts stay
        QCOMPARE(f.dialog.confirmation(), QByteArray("A"));

        f.dialog.setConfirmation("a");
        f.dialog.confirm();
        QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(f.messages.size(), 1);

        // Empty and empty pass; the password-only layout never compares.
        f.dialog.clearFields();
        f.dialog.show();
        f.dialog.confirm();
        QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
        f.dialog.setConfirmationMode(false);
        f.dialog.setConfirmation("other");
        f.dialog.show();
        f.dialog.confirm();
        QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(f.messages.size(), 1);
    }

    void layoutsAndCaption()
    {
        Fixture f;
        f.dialog.setConfirmation("left over");
        f.dialog.setConfirmationMode(true);
        QCOMPARE(f.dialog.confirmation(), QByteArray()); // switching on empties it
        for (const char *name : {"EdtConfirmation", "LblConfirmation", "LblSecure", "LblGenerate", "BtnSave"}) {
            QVERIFY2(!f.child<QWidget>(name)->isHidden(), name);
        }
        f.dialog.setDatabaseFileName(QStringLiteral("/some/folder/private.kvdb"));
        f.dialog.show();
        QCOMPARE(f.dialog.windowTitle(), QStringLiteral("Password"));
        const int confirmationHeight = f.dialog.height();
        f.dialog.hide();

        f.dialog.setConfirmationMode(false);
        for (const char *name : {"EdtConfirmation", "LblConfirmation", "LblSecure", "LblGenerate", "BtnSave"}) {
            QVERIFY2(f.child<QWidget>(name)->isHidden(), name);
        }
        QVERIFY(!f.child<QToolButton>("BtnOpen")->isHidden());
        f.dialog.show();
        QCOMPARE(f.dialog.windowTitle(), QStringLiteral("Password - private.kvdb"));
        QVERIFY(f.dialog.height() < confirmationHeight); // no empty rows left behind
        QCOMPARE(f.dialog.focusWidget(), f.child<QLineEdit>("EdtPassword"));
        f.dialog.hide();

        f.language.loadFromText("FrmPasswd.Caption=\"Kennwort\"\r\nFrmPasswd.BtnCancel=\"Abbrechen\"\r\n"
                                "FrmMain.MenOpen=\"\xD6" "ffnen\"\r\n");
        f.dialog.show();
        QCOMPARE(f.dialog.windowTitle(), QStringLiteral("Kennwort - private.kvdb"));
        QCOMPARE(f.child<QPushButton>("BtnCancel")->text(), QStringLiteral("Abbrechen"));
        QCOMPARE(f.child<QToolButton>("BtnOpen")->toolTip(), QStringLiteral("\u00D6ffnen"));
        QCOMPARE(f.child<QToolButton>("BtnSave")->toolTip(), QStringLiteral("Save"));
    }

    void maskedOrPlainAndLargerFont()
    {
        Fixture f;
        f.dialog.setConfirmationMode(true);
        auto *password = f.child<QLineEdit>("EdtPassword");
        auto *confirmation = f.child<QLineEdit>("EdtConfirmation");
        f.settings.showDialogPassword = false;
        f.dialog.show();
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        QCOMPARE(confirmation->echoMode(), QLineEdit::Password);
        f.dialog.hide();
        f.settings.showDialogPassword = true;
        f.dialog.show();
        QCOMPARE(password->echoMode(), QLineEdit::Normal);
        QCOMPARE(confirmation->echoMode(), QLineEdit::Normal);
        QCOMPARE(password->font().pointSizeF(), f.dialog.font().pointSizeF() + 1);
        QFont big = f.dialog.font();
        big.setPointSize(20);
        f.dialog.setFont(big);
        QCOMPARE(confirmation->font().pointSizeF(), 21.0);
        // Text the code page cannot carry is refused where it is typed.
        password->clear();
        for (QChar c : QStringLiteral("p\u0416w")) {
            QTest::sendKeyEvent(QTest::Click, password, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        QCOMPARE(f.dialog.password(), QByteArray("pw"));
    }

    void keyFileSaveThenLoadThroughTheProposedName()
    {
        QTemporaryDir folder;
        Fixture f;
        f.settings.checkForPasswordFile = true;
        f.dialog.setConfirmationMode(true);
        f.dialog.setPassword("S3cret \xA7!");

        // No database window: nothing happens.
        f.dialog.saveKeyFile();
        QVERIFY(f.proposals.isEmpty());

        f.activeDatabase = QString(); // an unsaved database
        f.chosenPath = folder.filePath(QStringLiteral("Default.kvky"));
        f.dialog.show();
        f.dialog.saveKeyFile();
        QCOMPARE(f.proposals, QList<QString>{QStringLiteral("Default.kvky")});
        QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(f.dialog.confirmation(), QByteArray("S3cret \xA7!"));
        QCOMPARE(readKeyFile(f.chosenPath), std::optional<QByteArray>("S3cret \xA7!"));
        // The name is the one the open flow probes beside a database in that folder.
        QCOMPARE(findKeyFileFor(folder.filePath(QStringLiteral("private.kvdb"))), f.chosenPath);

        f.dialog.setConfirmationMode(false);
        f.dialog.clearFields();
        f.dialog.show();
        f.dialog.openKeyFile();
        QCOMPARE(f.proposals.last(), f.chosenPath); // Open starts from the last key file
        QCOMPARE(f.dialog.password(), QByteArray("S3cret \xA7!"));
        QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
        QVERIFY(f.messages.isEmpty());
    }

    void proposedNamesAndFailures()
    {
        QTemporaryDir folder;
        Fixture f;
        f.settings.checkForPasswordFile = true;
        const QString database = folder.filePath(QStringLiteral("private.kvdb"));
        f.activeDatabase = database;
        QCOMPARE(f.dialog.proposedKeyFileName(), QStringLiteral("Default.kvky")); // not saved yet
        QFile(database).open(QIODevice::WriteOnly);
        QCOMPARE(f.dialog.proposedKeyFileName(), folder.filePath(QStringLiteral("private.kvky")));
        f.settings.checkForPasswordFile = false;
        QCOMPARE(f.dialog.proposedKeyFileName(), QString()); // nothing chosen yet

        // An empty password saves nothing; a cancelled file dialog neither.
        f.dialog.setConfirmationMode(true);
        f.dialog.show();
        f.dialog.saveKeyFile();
        QVERIFY(f.proposals.isEmpty());
        f.dialog.setPassword("pw");
        f.chosenPath.clear();
        f.dialog.saveKeyFile();
        QCOMPARE(f.proposals.size(), 1);
        QVERIFY(f.dialog.isVisible());

        // A key file that cannot be written or read is reported and the dialog stays open.
        f.chosenPath = folder.filePath(QStringLiteral("missing/folder/x.kvky"));
        f.dialog.saveKeyFile();
        QCOMPARE(f.messages.size(), 1);
        QCOMPARE(f.messages.last().text, QStringLiteral("The key file could not be written."));
        QVERIFY(f.dialog.isVisible());
        QCOMPARE(f.dialog.proposedKeyFileName(), f.chosenPath); // the setting is off: last name kept
        f.chosenPath = folder.filePath(QStringLiteral("empty.kvky"));
        QFile(f.chosenPath).open(QIODevice::WriteOnly);
        f.dialog.openKeyFile();
        QCOMPARE(f.messages.size(), 2);
        QVERIFY(f.dialog.isVisible());
        QCOMPARE(f.dialog.password(), QByteArray("pw"));
    }

    void generateAndRateLinks()
    {
        Fixture f;
        f.dialog.setConfirmationMode(true);
        f.dialog.show();
        f.dialog.setConfirmation("typed");
        vaultbase::test::whenModal<GeneratorDialog>([](GeneratorDialog *generator) {
            QVERIFY(!generator->findChild<QPushButton *>(QStringLiteral("BtnOK"))->isHidden());
            generator->findChild<QPushButton *>(QStringLiteral("BtnOK"))->click();
        });
        f.dialog.generatePassword();
        QCOMPARE(f.dialog.password(), f.generator.password());
        QCOMPARE(f.dialog.password().size(), 8);
        QCOMPARE(f.dialog.confirmation(), QByteArray("typed")); // still to be typed by the user

        f.dialog.setPassword("abc");
        f.dialog.openSecurityPage();
        QCOMPARE(f.messages.size(), 1);
        QCOMPARE(f.messages.at(0).type, MessageBox::Type::Information);
        QCOMPARE(f.messages.at(0).buttons, QList<MessageBox::Button>{MessageBox::Button::Ok});
        QCOMPARE(f.messages.at(0).text, QStringLiteral("- length is less than 8 characters\n- no numbers\n"
                                                       "- no non alphanumeric characters (e.g. #,@,$)\n"
                                                       "- no uppercase characters"));
    }
};

VAULTBASE_TEST(PasswordDialogTest)
#include "PasswordDialogTest.moc"
