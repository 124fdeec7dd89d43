#pragma once

class ElementNode;

// Told about every structural change of an ElementTree, in the order a
// QAbstractItemModel needs to report it (about-to, then done). A null parent stands for
// the top level. Changes of ElementData made directly on a node are not seen here; the
// editor that makes them calls ElementTree::notifyChanged.
class ElementTreeObserver
{
public:
    virtual ~ElementTreeObserver() = default;

    virtual void elementAboutToBeInserted(const ElementNode *parent, int row) {}
    virtual void elementInserted(const ElementNode *node) {}
    virtual void elementAboutToBeRemoved(const ElementNode *node) {}
    virtual void elementRemoved(const ElementNode *parent, int row) {}
    // The children of parent change places (after a rename or when sorting resumes);
    // afterwards every node's row() tells its new place.
    virtual void childrenAboutToBeReordered(const ElementNode *parent) {}
    virtual void childrenReordered(const ElementNode *parent) {}
    // Name, codes or data of node changed.
    virtual void elementChanged(const ElementNode *node) {}
    // Everything is replaced (cleared, or a loaded database swapped in).
    virtual void treeAboutToBeReset() {}
    virtual void treeReset() {}
};
