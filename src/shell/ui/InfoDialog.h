#pragma once

#include <QDialog>

class LanguageStore;
class QLabel;

// The information window: the program's name, its version text, a short description,
// the credits of the language file's translators and a link to the maker. Texts from
// the language section "FrmInfo."; shown modally.
class InfoDialog : public QDialog
{
    Q_OBJECT

public:
    explicit InfoDialog(const LanguageStore &language, QWidget *parent = nullptr);

    // The picture shown beside the name (also the lock panel's background).
    QPixmap logo() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void applyLanguage();
    QLabel *addLabel(const char *objectName, bool wrap);

    const LanguageStore &m_language;
    QLabel *m_logo;
};
