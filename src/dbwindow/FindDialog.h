#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QGroupBox;

// The database window's non-modal search dialogs. They stay open while the user goes on
// working and keep their text and options between showings, for "Find next" too. Texts
// come from the window's own section ("FrmChild."): the captions by the dialogs' names,
// the controls by theirs.

// FidFind (find text: match case, whole word, direction) and FidEntry (find entry: the
// whole-word choice hidden). Both start searching down.
class FindDialog final : public QDialog
{
    Q_OBJECT

public:
    FindDialog(const QString &name, bool wholeWordShown, QWidget *parent = nullptr);

    QString findText() const;
    void setFindText(const QString &text);
    bool matchCase() const;
    bool wholeWord() const;
    bool down() const;
    void setDown(bool down);

    // Shows the dialog (or raises it) with the text field ready for typing.
    void showForSearch();

    QLineEdit *findEdit() const { return m_edtFindText; }
    QPushButton *findButton() const { return m_btnFindNext; }

signals:
    // Find Next pressed (or Enter in the text field).
    void findRequested();

private:
    QLineEdit *m_edtFindText = nullptr;
    QCheckBox *m_chkMatchCase = nullptr;
    QCheckBox *m_chkWholeWord = nullptr;
    QGroupBox *m_grpDirection = nullptr;
    QRadioButton *m_radUp = nullptr;
    QRadioButton *m_radDown = nullptr;
    QPushButton *m_btnFindNext = nullptr;
};
