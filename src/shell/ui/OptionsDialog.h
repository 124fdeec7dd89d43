#pragma once

#include "shell/Settings.h"

#include <QColor>
#include <QDialog>
#include <QFont>

#include <functional>
#include <optional>

class LanguageStore;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

// The options dialog (objectName "FrmOpt"): the pages TabGeneral and TabLayout with a
// control for every setting a user changes, OK and Cancel. It is made once and kept.
// Its controls show a copy of the settings: load() fills them, store() writes them back
// into the settings; the main window does the one on showing and the other on OK, so
// a cancelled dialog changes nothing. The dialog's own font is the chosen text font.
class OptionsDialog : public QDialog
{
    Q_OBJECT

public:
    // The pickers the small buttons open (the platform's font, colour, folder and file
    // dialogs); tests put their own answers in. Nothing means cancelled.
    struct Pickers
    {
        std::function<std::optional<QFont>(QWidget *parent, const QFont &current)> font;
        std::function<std::optional<QColor>(QWidget *parent, const QColor &current)> color;
        std::function<QString(QWidget *parent, const QString &current)> folder;
        std::function<QString(QWidget *parent)> file;
    };

    OptionsDialog(const LanguageStore &language, const SettingsEnvironment &environment, QWidget *parent = nullptr);

    Pickers &pickers() { return m_pickers; }

    // Shows the settings; "Run program on system startup" is ticked as given (whether
    // the start-up entry exists). Applies the language texts.
    void load(const Settings &settings, bool startupEntryPresent);
    // Writes every control into its setting. A font chosen here makes the font keys
    // count and "UseFontHeight" say whether its height differs from the base font's.
    void store(Settings &settings) const;
    bool startupEntryWanted() const;

    // The text font and background colour the controls hold.
    const FontNumbers &chosenFont() const { return m_font; }
    qint32 backgroundColor() const { return m_background; }

    // What the small buttons do once their picker answered.
    void chooseFont(const QFont &font);
    void resetFont();
    void chooseBackgroundColor(const QColor &color);
    void resetBackgroundColor();

    void applyLanguage();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildGeneralPage();
    QWidget *buildLayoutPage();
    void connectRules();
    void fitToScreen();
    void updateDependencies();
    void updateLockHint();
    void showFont();
    void showBackgroundColor();
    void pickFont();
    void pickBackgroundColor();
    void pickStartupFile();
    void pickStartupFolder();
    bool refuseUnstorablePath(const QString &path);

    const LanguageStore &m_language;
    SettingsEnvironment m_environment;
    Pickers m_pickers;

    FontNumbers m_font;
    bool m_fontChosen = false;
    bool m_useFontSettings = true;
    qint32 m_background = ColorRef::White;

    QTabWidget *m_pages;
    // General page.
    QLineEdit *m_startupFile;
    QToolButton *m_openStartupFile;
    QCheckBox *m_hidePass;
    QCheckBox *m_directEdit;
    QCheckBox *m_askForPassword;
    QCheckBox *m_showDialogPassword;
    QCheckBox *m_checkForPasswordFile;
    QCheckBox *m_lock;
    QComboBox *m_lockInterval;
    QLabel *m_lockHint;
    QCheckBox *m_lockOnScreenLock;
    QSpinBox *m_clipboardSeconds;
    QCheckBox *m_deleteTempFiles;
    QCheckBox *m_addToStartup;
    QCheckBox *m_richText;
    QCheckBox *m_newEntry;
    QComboBox *m_newEntryValue;
    QComboBox *m_fileTypes;
    QToolButton *m_fileTypesReset;
    QLineEdit *m_startupFolder;
    QToolButton *m_pickStartupFolder;
    QCheckBox *m_noIniSave;
    // Layout page.
    QCheckBox *m_showButtons;
    QCheckBox *m_showStatusBar;
    QCheckBox *m_hideCreateDate;
    QCheckBox *m_smallIcons;
    QCheckBox *m_showTrayIcon;
    QCheckBox *m_lockOnTray;
    QCheckBox *m_sendToTrayOnClose;
    QCheckBox *m_sendToTrayOnStartup;
    QPushButton *m_fontButton;
    QToolButton *m_fontReset;
    QPushButton *m_backgroundPanel;
    QToolButton *m_backgroundReset;
};
