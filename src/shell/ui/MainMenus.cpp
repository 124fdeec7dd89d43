#include "MainMenus.h"

#include "LanguageMenu.h"
#include "RecentMenu.h"
#include "shell/MainWindowTexts.h"
#include "widgets/Icons.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace {

QString englishText(const char *key)
{
    const char *text = mainWindowTexts().english(key);
    return QString::fromLatin1(text ? text : key);
}

QAction *command(QMenu *menu, const char *name, const QKeySequence &shortcut = {})
{
    QAction *action = menu->addAction(englishText(name));
    action->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        // Shortcuts of the main window work wherever the focus is in it.
        action->setShortcutContext(Qt::WindowShortcut);
    }
    return action;
}

QMenu *menu(QMainWindow *window, const char *name, const QString &title)
{
    auto *created = new QMenu(title, window);
    created->setObjectName(QLatin1String(name));
    return created;
}

} // namespace

MainMenus::MainMenus(QMainWindow *window) : QObject(window)
{
    buildFile(window);
    buildOptions(window);
    buildWindow(window);
    MenLanguage = menu(window, "MenLanguage", englishText("MenLanguage"));
    languages = new LanguageMenu(MenLanguage, this);
    buildHelp(window);
    buildToolBar(window);
    buildTabMenu(window);
}

void MainMenus::buildFile(QMainWindow *window)
{
    MenFile = menu(window, "MenFile", englishText("MenFile"));
    MenNew = command(MenFile, "MenNew", QKeySequence(Qt::CTRL | Qt::Key_N));
    MenOpen = command(MenFile, "MenOpen", QKeySequence(Qt::CTRL | Qt::Key_O));
    MenFile->addSeparator();
    recentFiles = new RecentMenu(RecentList::Kind::Files, QStringLiteral("MenRecentFiles"), window, this);
    recentFiles->menu()->setTitle(englishText("MenRecentFiles"));
    MenFile->addMenu(recentFiles->menu());
    recentFolders = new RecentMenu(RecentList::Kind::Folders, QStringLiteral("MenRecentFolders"), window, this);
    recentFolders->menu()->setTitle(englishText("MenRecentFolders"));
    MenFile->addMenu(recentFolders->menu());
    MenFile->addSeparator();
    MenExit = command(MenFile, "MenExit", QKeySequence(Qt::CTRL | Qt::Key_Q));
    MenNew->setIcon(Icons::command(Icons::Command::New));
    MenOpen->setIcon(Icons::command(Icons::Command::Open));
    MenExit->setIcon(Icons::command(Icons::Command::Exit));
}

void MainMenus::buildOptions(QMainWindow *window)
{
    MenOptions = menu(window, "MenOptions", englishText("MenOptions"));
    MenChangePassword = command(MenOptions, "MenChangePassword");
    MenPasswordGenerator = command(MenOptions, "MenPasswordGenerator", QKeySequence(Qt::Key_F12));
    MenLock = command(MenOptions, "MenLock", QKeySequence(Qt::CTRL | Qt::Key_L));
    MenOptions->addSeparator();
    MenSettings = command(MenOptions, "MenSettings");
    MenOptions->addSeparator();
    MenShowFolder = command(MenOptions, "MenShowFolder");
    MenShowFolder->setCheckable(true);
    MenRefreshFolder = command(MenOptions, "MenRefreshFolder", QKeySequence(Qt::Key_F5));
    MenPasswordGenerator->setIcon(Icons::command(Icons::Command::Generate));
    MenLock->setIcon(Icons::command(Icons::Command::Lock));
    MenSettings->setIcon(Icons::command(Icons::Command::Options));
}

void MainMenus::buildWindow(QMainWindow *window)
{
    MenWindow = menu(window, "MenWindow", englishText("MenWindow"));
    MenAllowMultiple = command(MenWindow, "MenAllowMultiple");
    MenAllowMultiple->setCheckable(true);
    MenAllowMultiple->setChecked(true);
    MenOneInstance = command(MenWindow, "MenOneInstance");
    MenOneInstance->setCheckable(true);
    MenWindow->addSeparator();
    MenNextWin = command(MenWindow, "MenNextWin");
    MenLastWin = command(MenWindow, "MenLastWin");
    MenWindow->addSeparator();
    MenTileVertical = command(MenWindow, "MenTileVertical");
    MenTileHorizontal = command(MenWindow, "MenTileHorizontal");
    MenCascade = command(MenWindow, "MenCascade");
}

void MainMenus::buildHelp(QMainWindow *window)
{
    MenHelp = menu(window, "MenHelp", QStringLiteral("?"));
    MenUsage = command(MenHelp, "MenUsage", QKeySequence(Qt::Key_F1));
    MenHelp->addSeparator();
    MenLicense = command(MenHelp, "MenLicense");
    MenReadMe = command(MenHelp, "MenReadMe");
    MenCheckUpdate = command(MenHelp, "MenCheckUpdate");
    MenHelp->addSeparator();
    MenInfo = command(MenHelp, "MenInfo");
    MenUsage->setIcon(Icons::command(Icons::Command::Help));
    MenInfo->setIcon(Icons::command(Icons::Command::Info));
}

QAction *MainMenus::forwardingAction(const char *objectName, const char *command, const QString &text)
{
    auto *action = new QAction(text, this);
    action->setObjectName(QLatin1String(objectName));
    action->setData(QLatin1String(command));
    action->setEnabled(false);
    forwarding.append(action);
    return action;
}

void MainMenus::buildToolBar(QMainWindow *window)
{
    TlbMain = new QToolBar(window);
    TlbMain->setObjectName(QStringLiteral("TlbMain"));
    TlbMain->setMovable(false);
    TlbMain->setFloatable(false);
    TlbMain->setIconSize(QSize(32, 32));
    TlbMain->setToolButtonStyle(Qt::ToolButtonIconOnly);
    TlbMain->toggleViewAction()->setVisible(false);
    window->addToolBar(Qt::TopToolBarArea, TlbMain);

    TbNew = new QAction(Icons::command(Icons::Command::New), englishText("MenNew"), this);
    TbNew->setObjectName(QStringLiteral("TbNew"));
    connect(TbNew, &QAction::triggered, MenNew, &QAction::trigger);
    TbOpen = new QAction(Icons::command(Icons::Command::Open), englishText("MenOpen"), this);
    TbOpen->setObjectName(QStringLiteral("TbOpen"));
    connect(TbOpen, &QAction::triggered, MenOpen, &QAction::trigger);

    PopKey = new QMenu(window);
    PopKey->setObjectName(QStringLiteral("PopKey"));
    const LanguageSection &child = mainWindowChildTexts();
    const auto childText = [&child](const char *key) { return QString::fromLatin1(child.english(key)); };
    struct Button
    {
        const char *name;
        const char *command;
        Icons::Command icon;
    };
    const Button buttons[] = {
        {"TbSave", "MenSave", Icons::Command::Save},
        {"TbPrint", "MenPrint", Icons::Command::Print},
        {"TbProperties", "MenProperties", Icons::Command::Properties},
        {"TbFind", "MenFind", Icons::Command::Find},
        {"TbFindEntry", "MenFindEntry", Icons::Command::FindEntry},
        {"TbAddKey", "MenAddKey", Icons::Command::AddKey},
        {"TbRemoveEntry", "MenRemoveEntry", Icons::Command::Remove},
    };
    TlbMain->addAction(TbNew);
    TlbMain->addAction(TbOpen);
    for (const Button &button : buttons) {
        QAction *action = forwardingAction(button.name, button.command, childText(button.command));
        action->setIcon(Icons::command(button.icon));
        TlbMain->addAction(action);
        if (QByteArrayView(button.name) == "TbProperties" || QByteArrayView(button.name) == "TbFindEntry") {
            TlbMain->addSeparator();
        }
        if (QByteArrayView(button.name) == "TbAddKey") {
            auto *tool = qobject_cast<QToolButton *>(TlbMain->widgetForAction(action));
            tool->setMenu(PopKey);
            tool->setPopupMode(QToolButton::MenuButtonPopup);
        }
    }
    const char *const keyItems[][2] = {{"PopKeyAddEntry", "MenAddEntry"},
                                       {"PopKeyAddFolder", "MenAddFolder"},
                                       {"PopKeyAddSubfolder", "MenAddSubfolder"},
                                       {"PopKeyAddFile", "MenAddFile"},
                                       {"PopKeyAddTable", "MenAddTable"}};
    const Icons::Command keyIcons[] = {Icons::Command::AddEntry, Icons::Command::AddFolder,
                                       Icons::Command::AddSubfolder, Icons::Command::AddFile, Icons::Command::AddTable};
    for (std::size_t i = 0; i < std::size(keyItems); ++i) {
        QAction *item = forwardingAction(keyItems[i][0], keyItems[i][1], childText(keyItems[i][1]));
        item->setIcon(Icons::command(keyIcons[i]));
        PopKey->addAction(item);
    }
    for (QAction *action : TlbMain->actions()) {
        if (QWidget *button = TlbMain->widgetForAction(action); button && !action->objectName().isEmpty()) {
            button->setObjectName(action->objectName());
        }
    }

    LblTime = new QLabel(TlbMain);
    LblTime->setObjectName(QStringLiteral("LblTime"));
    LblTime->setAlignment(Qt::AlignCenter);
    LblTime->setWordWrap(true);
    TlbMain->addSeparator();
    TlbMain->addWidget(LblTime);
}

void MainMenus::buildTabMenu(QMainWindow *window)
{
    PopTabs = new QMenu(window);
    PopTabs->setObjectName(QStringLiteral("PopTabs"));
    PopTabsClose = PopTabs->addAction(QString::fromLatin1(mainWindowChildTexts().english("MenClose")));
    PopTabsClose->setObjectName(QStringLiteral("PopTabsClose"));
    PopTabsLock = PopTabs->addAction(QStringLiteral("Lock"));
    PopTabsLock->setObjectName(QStringLiteral("PopTabsLock"));
}

QList<QMenu *> MainMenus::sharedMenus() const
{
    return {MenOptions, MenWindow, MenLanguage, MenHelp};
}
