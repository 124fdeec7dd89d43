#pragma once

#include "ElementNode.h"
#include "ElementTreeObserver.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QCollator>
#include <QList>

#include <memory>
#include <optional>

// What an element command adds; decides the kind code and where the element goes.
enum class NewElement { Key, Entry, Table, File, Subfolder, Folder };

// The element tree of one database, a plain object. Siblings are kept in ascending order
// of their names by a fixed English, case-sensitive collation ("a" < "A" < "b"), names
// read as the code page's text; names the collation deems equal fall back to byte order,
// so the order is total and the same everywhere. The absolute order is depth-first
// pre-order. A name index per level makes finding a child by name independent of the
// number of siblings.
//
// While sorting is off (setSorted(false), as an import does) new children are appended;
// turning it back on sorts each level that changed, once.
class ElementTree
{
public:
    // The most levels a tree may have (a top-level element is on level 1). A file, a paste
    // or a drop that would nest deeper is refused: every element's path repeats those of
    // its ancestors, so a deeper tree costs memory and file size quadratic in its depth.
    static constexpr int MaxDepth = 1000;

    ElementTree();
    ~ElementTree();
    ElementTree(const ElementTree &) = delete;
    ElementTree &operator=(const ElementTree &) = delete;

    // At most one observer; the tree does not own it.
    void setObserver(ElementTreeObserver *observer) { m_observer = observer; }
    ElementTreeObserver *observer() const { return m_observer; }

    // --- Reading ---
    int count() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }
    // Children of parent; a null parent is the top level.
    int childCount(const ElementNode *parent) const;
    ElementNode *childAt(const ElementNode *parent, int row) const;
    ElementNode *firstRoot() const { return childAt(nullptr, 0); }
    // Depth-first pre-order: firstRoot(), then nextInOrder() until null.
    ElementNode *nextInOrder(const ElementNode *node) const;
    // Position in the absolute order (a walk from the first root), -1 when not in this tree.
    int absoluteIndex(const ElementNode *node) const;
    ElementNode *nodeAt(int absoluteIndex) const;
    // Names from the top level down to node itself.
    QList<QByteArray> pathOf(const ElementNode *node) const;
    // The level node is on (1 for a top-level element, 0 for none).
    static int depthOf(const ElementNode *node);
    // The levels of node's subtree (1 for an element without children, 0 for none); with
    // a null node, those of the whole tree.
    int heightOf(const ElementNode *node) const;
    // The first child of parent (in sibling order) with exactly this name.
    ElementNode *findChild(const ElementNode *parent, QByteArrayView name) const;
    ElementNode *findPath(const QList<QByteArray> &names) const;
    // Among start and its siblings, the first node with this name (and kind code, when
    // given) searching forward from start, then backward.
    ElementNode *findSibling(const ElementNode *start, QByteArrayView name,
                             std::optional<qint32> kind = std::nullopt) const;

    // --- Names ---
    // A name no sibling of node uses: its own name, else its name followed by 0, 1, ...
    // With excludeSelf false the node's own name counts as taken too.
    QByteArray makeUniqueName(const ElementNode *node, bool excludeSelf) const;
    // The first of base, base0, base1, ... that no child of parent (null: the top level) uses.
    QByteArray uniqueNameIn(const ElementNode *parent, const QByteArray &base) const;
    // True when another sibling has exactly node's name.
    bool hasNameClash(const ElementNode *node) const;
    // Would name clash with a sibling of node other than node itself?
    bool nameTakenBySibling(const ElementNode *node, QByteArrayView name) const;
    // Sibling order of two names: negative, 0 (only for equal bytes) or positive.
    int compareNames(QByteArrayView a, QByteArrayView b) const;

    // --- Changing ---
    // Appends (sorting off) or inserts in order (sorting on) a new child of parent (null:
    // top level). The name is taken as given; callers make it unique where needed. For many
    // insertions (building a tree from another source) turn sorting off first and on again
    // afterwards: each level is then sorted once instead of shifted at every insertion.
    ElementNode *insertElement(ElementNode *parent, QByteArray name, qint32 kind, qint32 selected,
                               ElementData data);
    // The same in two steps, for an importer that prepares its elements before it places
    // them: a detached element belongs to no tree until insertDetached places it.
    static std::unique_ptr<ElementNode> makeDetached(QByteArray name, qint32 kind, qint32 selected,
                                                     ElementData data);
    // A detached element may bring its descendants: it arrives with its whole subtree.
    ElementNode *insertDetached(ElementNode *parent, std::unique_ptr<ElementNode> node);
    // An element command: places the new element by the rule that keeps non-folders
    // childless (beside a selected non-folder, inside a selected folder, at the top level
    // without a selection; a Folder always beside the selection), sets its codes and gives
    // it the first free name from name, name0, name1, ... ("<>" in name becomes "<_>").
    ElementNode *addElement(NewElement what, ElementNode *selected, QByteArray name, ElementData data);
    // Renames node unless a sibling already has the name or the name cannot be stored
    // (then false, nothing changes).
    bool rename(ElementNode *node, QByteArray name);
    // A name holding "<>", the separator of the paths in a database file, would come back
    // as a folder path: such names are refused by rename and altered by addElement.
    static bool nameCanBeStored(QByteArrayView name);
    // Renames without the clash test (for names made by makeUniqueName).
    void setName(ElementNode *node, QByteArray name);
    void setCodes(ElementNode *node, qint32 kind, qint32 selected);
    void replaceData(ElementNode *node, ElementData data);
    // Reports a change made directly on node's data to the observer.
    void notifyChanged(const ElementNode *node);
    // Frees node, its descendants and their data. Always true: freeing cannot fail here.
    bool deleteSubtree(ElementNode *node);
    // Moves node with its descendants under parent (null: the top level) with this name,
    // which the caller made free there. The element stays the same object.
    ElementNode *moveElement(ElementNode *node, ElementNode *parent, QByteArray name);
    // Takes node with its descendants out of the tree, unchanged, for insertDetached to put
    // back (an undone delete brings back the same elements). Null for no node.
    std::unique_ptr<ElementNode> detach(ElementNode *node);
    bool clearTree();

    bool isSorted() const { return m_sorted; }
    void setSorted(bool sorted);

    // Exchanges the whole content (elements, sort mode) with other; each tree keeps its
    // observer, which sees a reset. A load builds a tree aside and swaps it in.
    void swapContent(ElementTree &other);

private:
    ElementNode *level(const ElementNode *parent) const { return parent ? const_cast<ElementNode *>(parent) : m_root.get(); }
    const ElementNode *observedParent(const ElementNode *levelNode) const;
    QByteArray uniqueNameAmong(const ElementNode *levelNode, const QByteArray &base, const ElementNode *self,
                               bool excludeSelf) const;
    bool nameTaken(const ElementNode *levelNode, QByteArrayView name, const ElementNode *self, bool excludeSelf) const;
    int sortedPosition(const ElementNode *levelNode, QByteArrayView name, const ElementNode *self) const;
    void renumber(ElementNode *levelNode, int from);
    void placeAfterRename(ElementNode *node);
    void sortLevel(ElementNode *levelNode);
    void markUnsorted(ElementNode *levelNode);
    int subtreeSize(const ElementNode *node) const;

    std::unique_ptr<ElementNode> m_root; // hidden; its children are the top level
    int m_count = 0;
    bool m_sorted = true;
    // Levels that got children while sorting was off; complete unless elements were
    // deleted meanwhile.
    std::vector<ElementNode *> m_unsortedLevels;
    bool m_unsortedLevelsComplete = true;
    ElementTreeObserver *m_observer = nullptr;
    QCollator m_collator;
};
