// The database window's element clipboard and drag and drop: copy, cut and paste of whole
// subtrees through the system clipboard, and drops from this tree or another one.
#include "TFrmVaultoChild.h"

#include "ChildTexts.h"
#include "ElementClipboard.h"
#include "ElementClipboardUi.h"
#include "ElementCommands.h"
#include "ElementDrop.h"
#include "ElementTreeView.h"
#include "MainServices.h"

#include <QMimeData>

bool TFrmVaultoChild::MenCopyEntryClick()
{
    if (m_main.isLocked()) {
        return false;
    }
    finishNameField();
    const ElementNode *node = selectedElement();
    if (!node) {
        return false;
    }
    if (!ElementClipboard::CopyElement(m_tree, node, &ElementClipboardUi::PlaceBlock)) {
        warn(childText("m_aMClipboardFailed"));
        return false;
    }
    return true;
}

bool TFrmVaultoChild::MenCutEntryClick()
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
    const bool cut = ElementClipboard::CutElement(m_tree, node, &ElementClipboardUi::PlaceBlock);
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

ElementNode *TFrmVaultoChild::MenPasteEntryClick()
{
    if (m_main.isLocked()) {
        return nullptr;
    }
    finishNameField();
    const std::optional<QByteArray> block = ElementClipboardUi::ClipboardBlock();
    return block ? pasteBlock(*block, selectedElement()) : nullptr;
}

ElementNode *TFrmVaultoChild::pasteBlock(QByteArrayView block, ElementNode *at)
{
    m_changingTree = true;
    const ElementClipboard::PasteResult pasted = ElementClipboard::PasteBlock(m_tree, at, block);
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

void TFrmVaultoChild::deleteElement(ElementNode *node)
{
    ElementNode *selected = selectedElement();
    ElementNode *next = ElementDrop::IsInSubtree(selected, node) ? ElementCommands::selectionAfterDelete(node) : selected;
    m_lastShown = nullptr;
    m_changingTree = true;
    m_tree.deleteSubtree(node);
    m_changingTree = false;
    setModified(true);
    selectElement(next);
}

QMimeData *TFrmVaultoChild::dragData(ElementNode *node)
{
    if (m_main.isLocked() || !node) {
        return nullptr;
    }
    finishNameField();
    const QByteArray block = ElementClipboard::BuildBlock(m_tree, node);
    return block.isEmpty() ? nullptr : ElementClipboardUi::DragData(block);
}

Qt::DropAction TFrmVaultoChild::dropElements(const QMimeData *mime, ElementNode *target, ElementDrop::Mode mode,
                                             ElementNode *dragged)
{
    if (m_main.isLocked()) {
        return Qt::IgnoreAction;
    }
    finishNameField();
    const std::optional<QByteArray> block = ElementClipboard::ReadBlock(mime);
    if (!block) {
        return Qt::IgnoreAction;
    }
    switch (ElementDrop::Decide(dragged, target, mode, dragged != nullptr)) {
    case ElementDrop::Verdict::Refuse:
        return Qt::IgnoreAction;
    case ElementDrop::Verdict::MoveWithinTree: {
        m_changingTree = true;
        bool tooDeep = false;
        ElementNode *moved = ElementDrop::MoveWithinTree(m_tree, dragged, target, &tooDeep);
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

bool TFrmVaultoChild::removeMovedElement(ElementNode *node)
{
    if (!node) {
        return false;
    }
    finishNameField();
    deleteElement(node);
    return true;
}
