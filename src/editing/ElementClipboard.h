#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <functional>
#include <memory>
#include <optional>

class ElementNode;
class ElementTree;
class QMimeData;

// Copy, cut and paste of whole subtrees through the clipboard block: the binary table
// stream of the element table with the copied element as subtree root, under one MIME
// type of our own (ClipboardFormat::MimeType) and nothing else, since the block is not
// text. No widgets here: the window owns the clipboard and these functions the rules.
namespace ElementClipboard {

// The block of node and its descendants; empty when node is null or a cell cannot be
// written (a text longer than a 32-bit length).
QByteArray buildBlock(const ElementTree &tree, const ElementNode *node);

// New mime data carrying block. With keep (what the clipboard holds now) the formats
// already there are carried over, so the block is added beside them rather than in
// their place. The caller owns the result (QClipboard::setMimeData takes it).
QMimeData *makeMimeData(const QByteArray &block, const QMimeData *keep = nullptr);

// The block under our type, or nothing when mime holds none.
std::optional<QByteArray> readBlock(const QMimeData *mime);
// True when mime carries exactly block: a cut deletes only after this.
bool holdsBlock(const QMimeData *mime, const QByteArray &block);

// The elements of a block, read into a tree of their own (binary form first, then the
// text form). Null when the block is no element table: neither form reads it, it has not
// the ten columns of one, or no row; or when its elements are nested deeper than
// ElementTree::MaxDepth levels (then tooDeep, when given, is set). Nothing a block holds
// is ever merged into an existing element: a paste adds these elements as they are.
std::unique_ptr<ElementTree> readBlockTree(QByteArrayView block, bool *tooDeep = nullptr);

// Where a paste with this selection goes: into a selected folder, beside a selected
// non-folder, to the top level (null) when nothing is selected.
ElementNode *pasteParent(ElementNode *selected);

struct PasteResult {
    // The pasted element: the copied element, arrived with all its descendants (the first
    // one when a block holds several top-level elements). Null when nothing was pasted.
    ElementNode *pasted = nullptr;
    // The tree was empty before: the pasted element is then its first element.
    bool treeWasEmpty = false;
    int added = 0; // elements added, descendants included
    // Nothing was pasted because the elements would be nested deeper than
    // ElementTree::MaxDepth levels where they were to arrive.
    bool tooDeep = false;
    // Every element that arrived at the paste's place, each with its descendants.
    QList<ElementNode *> arrived;

    explicit operator bool() const { return pasted != nullptr; }
};

// Pastes block with selected as the selection. Each top-level element of the block
// arrives whole, as one subtree, at pasteParent(selected); a name already taken there
// gets the next free one (Name, Name0, Name1, ...). Nothing that exists is changed. A
// block that does not read, or whose elements would be nested deeper than
// ElementTree::MaxDepth levels there, leaves the tree as it was and returns an empty result.
PasteResult pasteBlock(ElementTree &tree, ElementNode *selected, QByteArrayView block);
// The same with elements already read by readBlockTree; they are moved out of elements.
PasteResult pasteElements(ElementTree &tree, ElementNode *selected, ElementTree &elements);

// Puts a block where the window keeps it (the clipboard) and says whether it arrived.
using PlaceBlock = std::function<bool(const QByteArray &block)>;

// Copy: builds node's block and hands it to place. False when there is nothing to copy
// or place reports failure.
bool copyElement(const ElementTree &tree, const ElementNode *node, const PlaceBlock &place);
// Cut: copy, and only when the block reached its place, delete node with its
// descendants (no question). False, with nothing deleted, otherwise. The window picks
// the next selection before calling.
bool cutElement(ElementTree &tree, ElementNode *node, const PlaceBlock &place);

} // namespace ElementClipboard
