#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

// The database window's non-modal replace dialog; like the find dialogs it stays open while
// the user goes on working and keeps its texts between showings.
// RpdReplace: find text, replace text, Find Next, Replace and Replace All. Matching is
// always case-sensitive and along one table row or column, so there are no options.
class ReplaceDialog final : public QDialog
{
    Q_OBJECT

public:
    explicit ReplaceDialog(QWidget *parent = nullptr);

    QString findText() const;
    QString replaceText() const;
    void setTexts(const QString &find, const QString &replace);
    void showForSearch();

    QLineEdit *findEdit() const { return m_edtFindText; }
    QLineEdit *replaceEdit() const { return m_edtReplaceText; }

signals:
    void findRequested();
    void replaceRequested();
    void replaceAllRequested();

private:
    QLineEdit *m_edtFindText = nullptr;
    QLineEdit *m_edtReplaceText = nullptr;
};
