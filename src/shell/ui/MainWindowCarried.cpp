// The carried-database mode of the main window.
#include "MainWindow.h"

#include "MainMenus.h"
#include "document/AttachedDatabase.h"

#include <QAction>
#include <QMenu>

// Entered when the program's own file carries a database, and when a carried database
// is opened: a portable copy brings its language, which has no entry in the Language
// menu, so the menu goes.
void MainWindow::enterCarriedMode(const CarriedDatabase &carried)
{
    m_portable = true;
    if (carried.isPortable()) {
        m_language.loadFromText(carried.languageText);
        applyLanguage();
    }
    m_menus->MenLanguage->menuAction()->setVisible(false);
}
