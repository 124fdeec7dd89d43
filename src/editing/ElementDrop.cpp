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

MoveCheck checkMove(const ElementTree &tree, const ElementNode *dragged, ElementNode *target)
{
    if (!dragged || isInSubtree(target, dragged)) {
        return MoveCheck::Refused;
    }
    const ElementNode *parent = ElementClipboard::pasteParent(target);
    // Arriving where it already is (beside a sibling, inside its own folder) moves nothing.
    if (parent == dragged->parent()) {
        return MoveCheck::SamePlace;
    }
    return ElementTree::depthOf(parent) + tree.heightOf(dragged) > ElementTree::MaxDepth ? MoveCheck::TooDeep : MoveCheck::Allowed;
}

ElementNode *moveWithinTree(ElementTree &tree, ElementNode *dragged, ElementNode *target, bool *tooDeep)
{
    const MoveCheck check = checkMove(tree, dragged, target);
    if (tooDeep) {
        *tooDeep = check == MoveCheck::TooDeep;
    }
    switch (check) {
    case MoveCheck::Refused:
    case MoveCheck::TooDeep: return nullptr;
    case MoveCheck::SamePlace: return dragged;
    case MoveCheck::Allowed: break;
    }
    ElementNode *parent = ElementClipboard::pasteParent(target);
    return tree.moveElement(dragged, parent, tree.uniqueNameIn(parent, dragged->name()));
}

} // namespace ElementDrop
