// The database window behind the program's lock: its commands off, and the secrets out
// of its editors. The document keeps everything, unsaved changes included.

#include "DatabaseWindow.h"

#include "ChildActions.h"
#include "KeyEditor.h"
#include "LoadingGuard.h"
#include "RichTextEdit.h"
#include "TablePanel.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QStackedWidget>

void DatabaseWindow::lockViews()
{
    // A cell or a field being typed in hands its text over when it loses the focus.
    if (QWidget *focus = QApplication::focusWidget(); focus && isAncestorOf(focus)) {
        focus->clearFocus();
    }
    commitPendingEdits();
    m_enabledBeforeLock.clear();
    for (QAction *action : m_actions->all()) {
        m_enabledBeforeLock.insert(action, action->isEnabled());
        action->setEnabled(false);
    }
    for (QMenu *menu : menus()) {
        menu->setEnabled(false);
    }
    LoadingGuard guard(m_main);
    m_edtName->clear();
    m_pnlKey->setUserName({});
    m_pnlKey->setPassword({});
    m_pnlKey->comment()->clear();
    m_rdtText->clear();
    m_pnlTable->loadTable(ElementData{}, true);
    m_editors->setCurrentIndex(0);
    m_editorKind = -1;
    m_lastShown = nullptr;
    m_sptMain->hide();
}

void DatabaseWindow::unlockViews()
{
    m_sptMain->show();
    for (QMenu *menu : menus()) {
        menu->setEnabled(true);
    }
    for (auto it = m_enabledBeforeLock.cbegin(); it != m_enabledBeforeLock.cend(); ++it) {
        it.key()->setEnabled(it.value());
    }
    m_enabledBeforeLock.clear();
    showSelected();
}
