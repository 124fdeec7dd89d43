#pragma once

#include "ElementClipboard.h"

#include <QByteArrayView>
#include <Qt>

#include <optional>

class ElementNode;
class ElementTree;

// Drag and drop of elements inside one tree and between the trees of two database
// windows. A drag carries the clipboard block of the dragged element (ElementClipboard);
// these functions decide what a drop does and do it.
namespace ElementDrop {

enum class Mode { Copy, Move };

// The drag a mouse press starts: Shift copies (also with Ctrl), Ctrl moves, nothing else
// starts one.
std::optional<Mode> modeFor(Qt::KeyboardModifiers modifiers);

// True when node is root or one of root's descendants.
bool isInSubtree(const ElementNode *node, const ElementNode *root);

enum class Verdict {
    Refuse,         // nothing happens
    Paste,          // paste the dragged block with the target as selection (ElementClipboard::pasteBlock);
                    // for a move between two trees the source deletes its element afterwards, only
                    // when the paste succeeded
    MoveWithinTree, // moveWithinTree(tree, dragged, target)
};

// What a drop of dragged (null when it lies in another tree) on target (null: on no
// element, which drops at the top level) does. A moving drop onto the dragged element
// itself or onto one of its descendants is refused; a copying drop onto the element
// itself puts a copy beside it (inside it, for a folder).
Verdict decide(const ElementNode *dragged, const ElementNode *target, Mode mode, bool sameTree);

// Whether a moving drop of dragged on target inside one tree can happen: Refused when
// target lies in dragged's subtree, SamePlace when dragged already is where it would
// arrive, TooDeep when it would be nested deeper than ElementTree::MaxDepth levels there.
enum class MoveCheck { Allowed, Refused, SamePlace, TooDeep };
MoveCheck checkMove(const ElementTree &tree, const ElementNode *dragged, ElementNode *target);

// A moving drop inside one tree: dragged arrives, whole, inside a target folder, beside a
// target non-folder, or at the top level without a target (taking the next free name
// there), then leaves its old place; dropped where it already is, it stays as it is.
// The moved element stays the same object. Returns it, or null when the move is refused
// (target inside dragged, or dragged would be nested deeper than ElementTree::MaxDepth
// levels there: then tooDeep, when given, is set); the tree is then unchanged.
ElementNode *moveWithinTree(ElementTree &tree, ElementNode *dragged, ElementNode *target, bool *tooDeep = nullptr);

} // namespace ElementDrop
