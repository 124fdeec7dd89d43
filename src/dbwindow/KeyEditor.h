#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;
class RichTextEdit;

// The key editor (PnlKey): user name (EdtUserName, BtnCopyUserName), password
// (EdtPassword, BtnCopy) and comment (RdtComment). Filling it never reports an edit;
// only what the user changes does.
//
// Hidden passwords: the password shows as dots and, unless hidden passwords may be
// edited, the field is read-only; a typed character or a double click then asks for the
// password dialog (passwordDialogRequested) instead, with the password as the field
// would hold it after the key, so the typed character is not lost. Ctrl combinations
// pass through, and Ctrl+C copies the whole password (a masked field cannot show what
// is selected).
class SecretClipboard;

class KeyEditor final : public QWidget
{
    Q_OBJECT

public:
    explicit KeyEditor(SecretClipboard &clipboard, QWidget *parent = nullptr);

    void setUserName(const QString &text);
    void setPassword(const QString &text);
    QString userName() const;
    QString password() const;
    // Takes a new password as if the user had typed it (passwordEdited fires).
    void applyPassword(const QString &text);

    void setHiddenPassword(bool hide, bool editHidden);
    bool passwordHidden() const { return m_hide; }

    RichTextEdit *comment() const { return m_rdtComment; }
    QLineEdit *userNameEdit() const { return m_edtUserName; }
    QLineEdit *passwordEdit() const { return m_edtPassword; }

    // Puts the whole text of a field on the clipboard as plain text, as a secret.
    void copyPassword() const;
    void copyUserName() const;

    // Heights from the font: edits at least 23 pixels, 2 pixels between the rows.
    void updateHeights(int editHeight);

signals:
    void userNameEdited(const QString &text);
    void passwordEdited(const QString &text);
    // proposed: the password the dialog starts from.
    void passwordDialogRequested(const QString &proposed);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    SecretClipboard &m_clipboard;
    bool opensDialog() const { return m_hide && !m_editHidden; }
    // The field's text with typed put in as the field would: over the selection, else at
    // the cursor. Only printable text goes in.
    QString withTyped(const QString &typed) const;

    QLabel *m_lblText = nullptr;
    QLineEdit *m_edtUserName = nullptr;
    QToolButton *m_btnCopyUserName = nullptr;
    QLabel *m_lblPassword = nullptr;
    QLineEdit *m_edtPassword = nullptr;
    QToolButton *m_btnCopy = nullptr;
    QLabel *m_lblComment = nullptr;
    RichTextEdit *m_rdtComment = nullptr;
    bool m_hide = true;
    bool m_editHidden = false;
};
