#pragma once

#include <QDialog>

#include <functional>
#include <optional>

class LanguageStore;
class LinkLabel;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
struct Settings;
class GeneratorDialog;

// The one dialog through which database passwords are typed: password only (opening,
// unlocking) or password and confirmation (new database, changed password, a key's
// password). Its fields keep their text between uses; callers clear or set them. In the
// confirmation layout it links to the generator and to the strength rating, and saves
// the password into a key file; in both layouts it loads one.
class PasswordDialog : public QDialog
{
    Q_OBJECT

public:
    // The active database window's file path (empty while unsaved), or nothing when no
    // database window is active.
    using ActiveDatabase = std::function<std::optional<QString>()>;

    enum class KeyFileAction { Open, Save };
    // Asks the user for a key file; proposedPath is the name to offer (Save) or the last
    // one chosen (Open). Returns the chosen path, empty when the user cancels.
    using KeyFileChooser = std::function<QString(QWidget *parent, KeyFileAction action, const QString &proposedPath,
                                                 const QString &filter)>;

    PasswordDialog(const LanguageStore &language, const Settings &settings, GeneratorDialog &generator,
                 ActiveDatabase activeDatabase, QWidget *parent = nullptr);

    // On: empties EdtConfirmation and shows the confirmation field, its label, both links
    // and BtnSave; off hides them. Callers switch it on before showing the dialog and off
    // afterwards.
    void setConfirmationMode(bool confirmation);
    bool confirmationMode() const;

    // The database being opened; its name shows in the caption of the password-only
    // layout. Kept until the next call.
    void setDatabaseFileName(const QString &path);
    const QString &databaseFileName() const { return m_databaseFileName; }

    // Plain (as typed) or masked; applied from "ShowDialogPassword" at each showing.
    void setPasswordVisible(bool visible);

    QByteArray password() const;
    void setPassword(const QByteArray &password);
    QByteArray confirmation() const;
    void setConfirmation(const QByteArray &confirmation);
    // For "AlwaysAksForPassword": empties both fields.
    void clearFields();

    // Replaces the file dialogs (tests answer them).
    void setKeyFileChooser(KeyFileChooser chooser);

    // The key-file name Save offers: with "CheckForPasswordFile" on, the active
    // database's path with the extension ".kvky" when that database exists as a file,
    // else "Default.kvky"; with the setting off, the name chosen last.
    QString proposedKeyFileName() const;

    void confirm();
    void openKeyFile();
    void saveKeyFile();
    void generatePassword();
    void openSecurityPage();

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyTexts();
    void applyFieldFonts();
    QString chooseKeyFile(KeyFileAction action, const QString &proposed);

    const LanguageStore &m_language;
    const Settings &m_settings;
    GeneratorDialog &m_generator;
    ActiveDatabase m_activeDatabase;
    KeyFileChooser m_chooser;
    QString m_databaseFileName;
    QString m_lastKeyFile;

    QLabel *m_passwordLabel = nullptr;
    QLineEdit *m_password = nullptr;
    QLabel *m_confirmationLabel = nullptr;
    QLineEdit *m_confirmation = nullptr;
    LinkLabel *m_generate = nullptr;
    LinkLabel *m_secure = nullptr;
    QToolButton *m_open = nullptr;
    QToolButton *m_save = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};
