#pragma once

#include <QDialog>

class LanguageStore;
class QTextBrowser;

// The help window: a built-in English summary of every menu command, grouped by menu,
// with its texts from the language section "FrmHelp.". Shown modally.
class HelpWindow : public QDialog
{
    Q_OBJECT

public:
    explicit HelpWindow(const LanguageStore &language, QWidget *parent = nullptr);

    // The summary as the window shows it (HTML).
    QString summaryHtml() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void applyLanguage();

    const LanguageStore &m_language;
    QTextBrowser *m_text;
};
