// The database window's element clipboard and drag and drop: copy, cut and paste of whole
// subtrees through the system clipboard, and drops from this tree or another one.
#include "DatabaseWindow.h"

#include "ChildTexts.h"
#include "editing/ElementClipboard.h"
#include "ElementClipboardUi.h"
#include "editing/ElementCommands.h"
#include "editing/ElementDrop.h"
#include "ElementTreeView.h"
#include "MainServices.h"

#include <QMimeData>

bool DatabaseWindow::copyElement()
{
    if (m_main.isLocked()) {
        return false;
    }
    finishNameField();
    const ElementNode *node = selectedElement();
    if (!node) {
        return false;
    }
    if (!ElementClipboard::copyElement(m_tree, node, &ElementClipboardUi::PlaceBlock)) {
        warn(childText("m_aMClipboardFailed"));
        return false;
    }
    return true;
}

bool DatabaseWindow::cutElement()
{
    if (m_main.isLocked()) {
        return false;
    }
    finishNameField();
    ElementNode *node = selectedElement();
    if (!node) {
        return false;
    }
    ElementNode *next = ElementCommands::selectionAfterDelete(node);
    m_changingTree = true;
    const bool cut = ElementClipboard::cutElement(m_tree, node, &ElementClipboardUi::PlaceBlock);
    m_changingTree = false;
    if (!cut) {
        // Nothing was deleted: the element stays where it is.
        warn(childText("m_aMClipboardFailed"));
        return false;
    }
    m_lastShown = nullptr;
    setModified(true);
    selectElement(next);
    return true;
}

ElementNode *DatabaseWindow::pasteElements()
{
    if (m_main.isLocked()) {
        return nullptr;
    }
    finishNameField();
    const std::optional<QByteArray> block = ElementClipboardUi::clipboardBlock();
    return block ? pasteBlock(*block, selectedElement()) : nullptr;
}

ElementNode *DatabaseWindow::pasteBlock(QByteArrayView block, ElementNode *at)
{
    m_changingTree = true;
    const ElementClipboard::PasteResult pasted = ElementClipboard::pasteBlock(m_tree, at, block);
    m_changingTree = false;
    if (!pasted) {
        // A block that does not read changes nothing; one nested too deep says so.
        if (pasted.tooDeep) {
            warn(childText("m_aMPasteTooDeep"));
        }
        return nullptr;
    }
    setModified(true);
    selectElement(pasted.treeWasEmpty ? m_tree.firstRoot() : pasted.pasted);
    return pasted.pasted;
}

void DatabaseWindow::deleteElement(ElementNode *node)
{
    ElementNode *selected = selectedElement();
    ElementNode *next = ElementDrop::isInSubtree(selected, node) ? ElementCommands::selectionAfterDelete(node) : selected;
    m_lastShown = nullptr;
    m_changingTree = true;
    m_tree.deleteSubtree(node);
    m_changingTree = false;
    setModified(true);
    selectElement(next);
}

QMimeData *DatabaseWindow::dragData(ElementNode *node)
{
    if (m_main.isLocked() || !node) {
        return nullptr;
    }
    finishNameField();
    const QByteArray block = ElementClipboard::buildBlock(m_tree, node);
    return block.isEmpty() ? nullptr : ElementClipboardUi::dragData(block);
}

Qt::DropAction DatabaseWindow::dropElements(const QMimeData *mime, ElementNode *target, ElementDrop::Mode mode,
                                             ElementNode *dragged)
{
    if (m_main.isLocked()) {
        return Qt::IgnoreAction;
    }
    finishNameField();
    const std::optional<QByteArray> block = ElementClipboard::readBlock(mime);
    if (!block) {
        return Qt::IgnoreAction;
    }
    switch (ElementDrop::decide(dragged, target, mode, dragged != nullptr)) {
    case ElementDrop::Verdict::Refuse:
        return Qt::IgnoreAction;
    case ElementDrop::Verdict::MoveWithinTree: {
        m_changingTree = true;
        bool tooDeep = false;
        ElementNode *moved = ElementDrop::moveWithinTree(m_tree, dragged, target, &tooDeep);
        m_changingTree = false;
        if (!moved) {
            if (tooDeep) {
                warn(childText("m_aMPasteTooDeep"));
            }
            return Qt::IgnoreAction;
        }
        if (moved != dragged) {
            m_lastShown = nullptr;
            setModified(true);
        }
        selectElement(moved);
        return Qt::MoveAction;
    }
    case ElementDrop::Verdict::Paste:
        break;
    }
    if (!pasteBlock(*block, target)) {
        return Qt::IgnoreAction;
    }
    // A move into this tree from elsewhere: the source removes its element on hearing this.
    return mode == ElementDrop::Mode::Move ? Qt::MoveAction : Qt::CopyAction;
}

bool DatabaseWindow::removeMovedElement(ElementNode *node)
{
    if (!node) {
        return false;
    }
    finishNameField();
    deleteElement(node);
    return true;
}
