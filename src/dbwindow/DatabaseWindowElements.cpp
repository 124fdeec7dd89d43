// The database window's element clipboard and drag and drop: copy, cut and paste of whole
// subtrees through the system clipboard, and drops from this tree or another one.
#include "DatabaseWindow.h"

#include "ChildTexts.h"
#include "editing/ElementClipboard.h"
#include "ElementClipboardUi.h"
#include "editing/ElementCommands.h"
#include "editing/DocumentCommands.h"
#include "editing/ElementDrop.h"
#include "ElementTreeView.h"
#include "MainServices.h"

#include <QMimeData>

bool DatabaseWindow::copyElement()
{
    finishNameField();
    const ElementNode *node = selectedElement();
    if (!node) {
        return false;
    }
    if (!ElementClipboard::copyElement(tree(), node, &ElementClipboardUi::PlaceBlock)) {
        warn(childText("m_aMClipboardFailed"));
        return false;
    }
    return true;
}

bool DatabaseWindow::cutElement()
{
    finishNameField();
    ElementNode *node = selectedElement();
    if (!node) {
        return false;
    }
    // Only an element that reached the clipboard goes.
    if (!ElementClipboard::copyElement(tree(), node, &ElementClipboardUi::PlaceBlock)) {
        warn(childText("m_aMClipboardFailed"));
        return false;
    }
    removeElement(node, "m_aMCmdCut");
    return true;
}

ElementNode *DatabaseWindow::pasteElements()
{
    finishNameField();
    const std::optional<QByteArray> block = ElementClipboardUi::clipboardBlock();
    return block ? pasteBlock(*block, selectedElement(), "m_aMCmdPaste") : nullptr;
}

ElementNode *DatabaseWindow::pasteBlock(QByteArrayView block, ElementNode *at, const char *commandKey)
{
    m_changingTree = true;
    const ElementClipboard::PasteResult pasted = ElementClipboard::pasteBlock(tree(), at, block);
    m_changingTree = false;
    if (!pasted) {
        // A block that does not read changes nothing; one nested too deep says so.
        if (pasted.tooDeep) {
            warn(childText("m_aMPasteTooDeep"));
        }
        return nullptr;
    }
    pushCommand(new InsertElementsCommand(m_document, pasted.arrived, commandText(commandKey, pasted.pasted)));
    selectElement(pasted.treeWasEmpty ? tree().firstRoot() : pasted.pasted);
    return pasted.pasted;
}

void DatabaseWindow::removeElement(ElementNode *node, const char *commandKey)
{
    ElementNode *selected = selectedElement();
    ElementNode *next = ElementDrop::isInSubtree(selected, node) ? ElementCommands::selectionAfterDelete(node) : selected;
    m_lastShown = nullptr;
    pushCommand(new RemoveElementCommand(m_document, node, next, commandText(commandKey, node)));
    selectElement(next);
}

QMimeData *DatabaseWindow::dragData(ElementNode *node)
{
    if (!node) {
        return nullptr;
    }
    finishNameField();
    const QByteArray block = ElementClipboard::buildBlock(tree(), node);
    return block.isEmpty() ? nullptr : ElementClipboardUi::dragData(block);
}

Qt::DropAction DatabaseWindow::dropElements(const QMimeData *mime, ElementNode *target, ElementDrop::Mode mode,
                                             ElementNode *dragged)
{
    finishNameField();
    const std::optional<QByteArray> block = ElementClipboard::readBlock(mime);
    if (!block) {
        return Qt::IgnoreAction;
    }
    switch (ElementDrop::decide(dragged, target, mode, dragged != nullptr)) {
    case ElementDrop::Verdict::Refuse:
        return Qt::IgnoreAction;
    case ElementDrop::Verdict::MoveWithinTree:
        switch (ElementDrop::checkMove(tree(), dragged, target)) {
        case ElementDrop::MoveCheck::Refused: return Qt::IgnoreAction;
        case ElementDrop::MoveCheck::TooDeep: warn(childText("m_aMPasteTooDeep")); return Qt::IgnoreAction;
        case ElementDrop::MoveCheck::SamePlace: break;
        case ElementDrop::MoveCheck::Allowed:
            m_lastShown = nullptr;
            pushCommand(new MoveElementCommand(m_document, dragged, ElementClipboard::pasteParent(target),
                                               commandText("m_aMCmdMove", dragged)));
            break;
        }
        selectElement(dragged);
        return Qt::MoveAction;
    case ElementDrop::Verdict::Paste:
        break;
    }
    if (!pasteBlock(*block, target, mode == ElementDrop::Mode::Move ? "m_aMCmdMove" : "m_aMCmdPaste")) {
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
    removeElement(node, "m_aMCmdMove");
    return true;
}
