#include "ElementDrop.h"

#include "document/ElementTree.h"

namespace ElementDrop {

std::optional<Mode> ModeFor(Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::ShiftModifier) {
        return Mode::Copy;
    }
    if (modifiers & Qt::ControlModifier) {
        return Mode::Move;
    }
    return std::nullopt;
}

bool IsInSubtree(const ElementNode *node, const ElementNode *root)
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

Verdict Decide(const ElementNode *dragged, const ElementNode *target, Mode mode, bool sameTree)
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
    return IsInSubtree(target, dragged) ? Verdict::Refuse : Verdict::MoveWithinTree;
}

ElementNode *MoveWithinTree(ElementTree &tree, ElementNode *dragged, ElementNode *target, bool *tooDeep)
{
    if (tooDeep) {
        *tooDeep = false;
    }
    if (!dragged || IsInSubtree(target, dragged)) {
        return nullptr;
    }
    // Arriving where it already is (beside a sibling, inside its own folder) moves nothing.
    if (ElementClipboard::PasteParent(target) == dragged->parent()) {
        return dragged;
    }
    // The copy arrives before the original leaves: a move that cannot arrive never leaves.
    const ElementClipboard::PasteResult arrived =
        ElementClipboard::PasteBlock(tree, target, ElementClipboard::BuildBlock(tree, dragged));
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
