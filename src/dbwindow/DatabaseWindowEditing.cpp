// The database window's edits: typing in the fields and the name field recorded as changes
// of the document, and undo and redo of those changes, with the keys that reach a field's
// own typing first.
#include "DatabaseWindow.h"

#include "ChildActions.h"
#include "ElementTreeView.h"
#include "KeyEditor.h"
#include "LoadingGuard.h"
#include "MainServices.h"
#include "editing/DocumentCommands.h"
#include "platform/Clock.h"
#include "platform/CodePage.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTextEdit>

// --- Editing ---

void DatabaseWindow::recordEdit(ElementNode *node, ElementData before, Field field)
{
    node->data().touch(m_main.clock());
    tree().notifyChanged(node);
    pushCommand(new ChangeDataCommand(m_document, node, std::move(before), commandText("m_aMCmdEdit", node),
                                      int(field), m_editVisit));
    if (node == selectedElement()) {
        showStatus(node);
    }
}

void DatabaseWindow::recordDataChange(ElementNode *node, ElementData before)
{
    tree().notifyChanged(node);
    pushCommand(new ChangeDataCommand(m_document, node, std::move(before), commandText("m_aMCmdEdit", node)));
    if (node == selectedElement()) {
        showStatus(node);
    }
}

void DatabaseWindow::editField(QByteArray ElementData::*field, Field which, const QString &text)
{
    if (m_main.loadingGuard()) {
        return;
    }
    ElementNode *node = selectedElement();
    if (!node || node->kind() != KindKey) {
        return;
    }
    bool ok = false;
    QByteArray bytes = CodePage::fromUnicode(text, &ok);
    if (!ok) {
        return; // the field's validator refuses such text before it gets here
    }
    ElementData before = node->data();
    node->data().*field = std::move(bytes);
    recordEdit(node, std::move(before), which);
}

void DatabaseWindow::onNameEdited(const QString &text)
{
    if (m_main.loadingGuard()) {
        return;
    }
    ElementNode *node = selectedElement();
    if (!node) {
        return;
    }
    bool ok = false;
    QByteArray name = CodePage::fromUnicode(text, &ok);
    if (!ok) {
        return;
    }
    // The tree shows the name as it is typed; the duplicate check, and the change that can
    // be undone, come on leaving.
    m_nameFieldElement = node;
    m_changingTree = true;
    tree().setName(node, std::move(name));
    m_changingTree = false;
    setWindowModified(true);
    emit modifiedChanged(true);
}

void DatabaseWindow::onNameEntered()
{
    const ElementNode *node = selectedElement();
    m_nameOnEntry = node ? node->name() : QByteArray();
    m_nameFieldElement = nullptr;
}

void DatabaseWindow::finishNameField()
{
    ElementNode *node = const_cast<ElementNode *>(m_nameFieldElement);
    m_nameFieldElement = nullptr;
    if (!node) {
        return;
    }
    bool ok = false;
    const QByteArray typed = CodePage::fromUnicode(m_edtName->text(), &ok);
    // The element takes back its name on entry, then the rename check decides.
    m_changingTree = true;
    tree().setName(node, m_nameOnEntry);
    m_changingTree = false;
    if (!ok || !renameElement(node, typed)) {
        LoadingGuard guard(m_main);
        m_edtName->setText(CodePage::toUnicode(node->name()));
    }
    m_nameOnEntry = node->name();
    setWindowModified(m_document.isModified());
    emit modifiedChanged(m_document.isModified());
}

// --- History ---

QString DatabaseWindow::commandText(const char *key, const ElementNode *node) const
{
    return childTextWith(key, node ? CodePage::toUnicode(node->name()) : QString());
}

void DatabaseWindow::pushCommand(QUndoCommand *command)
{
    m_pushing = true;
    m_changingTree = true;
    m_document.push(command);
    m_changingTree = false;
    m_pushing = false;
}

void DatabaseWindow::onCommandApplied(ElementNode *node)
{
    if (m_pushing) {
        return;
    }
    m_showAfterCommand = node;
    m_commandShowsElement = true;
}

void DatabaseWindow::undo()
{
    stepHistory(&UndoStack::undo);
}

void DatabaseWindow::redo()
{
    stepHistory(&UndoStack::redo);
}

void DatabaseWindow::stepHistory(void (UndoStack::*step)())
{
    commitPendingEdits();
    m_commandShowsElement = false;
    m_changingTree = true;
    (m_document.undoStack().*step)();
    m_changingTree = false;
    // The editors show the element as the command left it.
    m_lastShown = nullptr;
    if (m_commandShowsElement && m_showAfterCommand) {
        selectElement(m_showAfterCommand);
    } else {
        showSelected();
    }
}

void DatabaseWindow::commitPendingEdits()
{
    m_trvTree->commitNameEditor();
    finishNameField();
}

// --- Keys ---

DatabaseWindow::HistoryKey DatabaseWindow::historyKeyOf(const QKeyEvent *key) const
{
    const QKeySequence pressed(key->keyCombination());
    if (m_actions->MenUndo->shortcuts().contains(pressed)) {
        return HistoryKey::Undo;
    }
    if (m_actions->MenRedo->shortcuts().contains(pressed)) {
        return HistoryKey::Redo;
    }
    return HistoryKey::None;
}

bool DatabaseWindow::handleHistoryKey(QObject *watched, QEvent *event, HistoryKey key)
{
    auto *line = qobject_cast<QLineEdit *>(watched);
    auto *text = qobject_cast<QTextEdit *>(watched);
    if ((!line && !text) || (line ? line->isReadOnly() : text->isReadOnly())) {
        return false;
    }
    const bool undo = key == HistoryKey::Undo;
    const bool own = line ? (undo ? line->isUndoAvailable() : line->isRedoAvailable())
                          : (undo ? text->document()->isUndoAvailable() : text->document()->isRedoAvailable());
    if (event->type() == QEvent::ShortcutOverride) {
        // Accepted, the key comes to the field; ignored, it goes to the action.
        event->setAccepted(own);
        return true;
    }
    if (!own) {
        return false;
    }
    if (line) {
        undo ? line->undo() : line->redo();
    } else {
        undo ? text->undo() : text->redo();
    }
    return true;
}
