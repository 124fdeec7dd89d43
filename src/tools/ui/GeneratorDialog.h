#pragma once

#include "tools/PasswordGenerator.h"

#include <QDialog>

#include <memory>

class SecretClipboard;
class LanguageStore;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class RandomSource;

// The password generator dialog: one instance for the run, so its options stay as the
// user left them. Each showing and each press of Generate makes a new password. In the
// OK layout (the password dialog's use) the caller reads the password after OK; in the
// copy layout (the menu command) Copy puts it on the clipboard and closes.
class GeneratorDialog : public QDialog
{
    Q_OBJECT

public:
    explicit GeneratorDialog(const LanguageStore &language, QWidget *parent = nullptr);
    ~GeneratorDialog() override;

    // Copy layout: BtnCopy shown and default, BtnOK hidden; otherwise the reverse.
    void setCopyLayout(bool copy);
    bool copyLayout() const;

    // The menu command's use: shows the dialog modally in the copy layout and leaves it
    // in the OK layout afterwards, whatever the result.
    int execCopyLayout();

    // EdtPassword's text as the code page's bytes (the user may have edited it).
    QByteArray password() const;
    PasswordClasses classes() const;

    // Generates from another source (tests use the C-library generator with a known seed).
    void setRandomSource(std::unique_ptr<RandomSource> source);

    // Generate: the length from EdtLength, the classes from the check boxes (numbers
    // checked when none is), a new password into EdtPassword.
    void generate();
    // Puts EdtPassword's text on the clipboard as plain text and closes: as a secret
    // through the program's clipboard guard when it has one.
    void copyPassword();
    void setSecretClipboard(SecretClipboard *clipboard) { m_clipboard = clipboard; }

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyTexts();
    void sizeLengthField();

    const LanguageStore &m_language;
    std::unique_ptr<RandomSource> m_random;
    SecretClipboard *m_clipboard = nullptr;
    QLineEdit *m_password = nullptr;
    QLineEdit *m_length = nullptr;
    QCheckBox *m_numbers = nullptr;
    QCheckBox *m_upperCase = nullptr;
    QCheckBox *m_lowerCase = nullptr;
    QCheckBox *m_nonAlpha = nullptr;
    QPushButton *m_generate = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_copy = nullptr;
    QPushButton *m_cancel = nullptr;
};
