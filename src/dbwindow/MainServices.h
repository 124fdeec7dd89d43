#pragma once

#include <QString>

class Clock;
class LanguageStore;
class QMenu;
class QAction;
class QWidget;
class Settings;
class TempFiles;
class PasswordDialog;
class GeneratorDialog;
class SecretClipboard;

// What a database window asks of the main window. The main window implements it; widget
// tests of the database window use a small fake. Everything here lives as long as the
// main window, longer than any database window.
class MainServices
{
public:
    virtual ~MainServices() = default;

    // --- Shared state ---
    virtual LanguageStore &language() = 0;
    virtual Settings &settings() = 0;
    virtual const Clock &clock() const = 0;
    // The storage folder (absolute, ends in "/"); temporary copies of viewed files go there.
    virtual QString storageFolder() const = 0;
    virtual TempFiles &tempFiles() = 0;

    // Set while an editor is being filled from an element: change handlers of every
    // database window return at once while it is set.
    virtual bool loadingGuard() const = 0;
    virtual void setLoadingGuard(bool on) = 0;

    // While locked, element operations, searches and saving do nothing.
    virtual bool isLocked() const = 0;

    // --- Lock count-down (the lock itself comes later; these may do little until then) ---
    virtual void restartLockCountdown() = 0;
    // Stops the count-down timer and says whether it was running; restore puts it back.
    virtual bool stopLockTimer() = 0;
    virtual void restoreLockTimer(bool wasRunning) = 0;

    // --- Main-window things the database window shows or changes ---
    virtual void setStatusText(const QString &text) = 0;
    virtual void setTrayHint(const QString &text) = 0;
    virtual void addRecentFile(const QString &path) = 0;
    // Width of the tree pane shared by every database window ("WindowTreeWidth").
    virtual int treeWidth() const = 0;
    virtual void setTreeWidth(int width) = 0;

    // --- Dialogs and the parent for message boxes and file dialogs ---
    virtual PasswordDialog &passwordDialog() = 0;
    virtual GeneratorDialog &generatorDialog() = 0;
    // Where passwords and user names are copied to, cleared again after a while.
    virtual SecretClipboard &secretClipboard() = 0;
    virtual QWidget *dialogParent() = 0;

    // --- Main-window commands that the database window's File menu shows as well ---
    // (the same QAction objects: New, Open, Exit, and the Recent / Recent folders menus)
    virtual QAction *newAction() = 0;
    virtual QAction *openAction() = 0;
    virtual QAction *exitAction() = 0;
    virtual QMenu *recentFilesMenu() = 0;
    virtual QMenu *recentFoldersMenu() = 0;
    virtual void closeAllWindows() = 0;
};
