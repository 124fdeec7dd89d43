#include "ElementDrop.h"

#include "document/ElementTree.h"

namespace ElementDrop {

std::optional<Mode> modeFor(Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ShiftModifier) {
        return Mode::Copy;
    }
    if (modifiers & Qt::ControlModifier) {
        return Mode::Move;
    }
    return std::nullopt;
}

bool isInSubtree(const ElementNode *node, const ElementNode *root)
{
    if (!root) {
        return false;
    }
    for (const ElementNode *n = node; n; n = n->parent()) {
        if (n == root) {
            return true;
        }
    }
    return false;
}

Verdict decide(const ElementNode *dragged, const ElementNode *target, Mode mode, bool sameTree)
{
    if (!sameTree) {
        return Verdict::Paste;
    }
    if (!dragged) {
        return Verdict::Refuse;
    }
    if (mode == Mode::Copy) {
        return Verdict::Paste;
    }
    // Moving onto itself changes nothing; moving into its own subtree would cut away the
    // very place it is to arrive at.
    return isInSubtree(target, dragged) ? Verdict::Refuse : Verdict::MoveWithinTree;
}

ElementNode *moveWithinTree(ElementTree &tree, ElementNode *dragged, ElementNode *target, bool *tooDeep)
{
    if (tooDeep) {
        *tooDeep = false;
    }
    if (!dragged || isInSubtree(target, dragged)) {
        return nullptr;
    }
    // Arriving where it already is (beside a sibling, inside its own folder) moves nothing.
    if (ElementClipboard::pasteParent(target) == dragged->parent()) {
        return dragged;
    }
    // The copy arrives before the original leaves: a move that cannot arrive never leaves.
    const ElementClipboard::PasteResult arrived =
        ElementClipboard::pasteBlock(tree, target, ElementClipboard::buildBlock(tree, dragged));
    if (!arrived) {
        if (tooDeep) {
            *tooDeep = arrived.tooDeep;
        }
        return nullptr;
    }
    tree.deleteSubtree(dragged);
    return arrived.pasted;
}

} // namespace ElementDrop
