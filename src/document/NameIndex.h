#pragma once

#include <QByteArrayView>

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

class ElementNode;

// Finds the children of one level by name in constant time: a small open-addressing table
// (linear probing, backward-shift deletion) owned by the parent, with one slot per name.
// Each level has its own table, so the rows of one folder, which an import meets one after
// the other, keep finding their table in the cache.
//
// Names may repeat within a level (a damaged file can hold such siblings). All siblings of
// one name share their slot: a group that keeps them in sibling order, all together and by
// kind code, so finding one of many same-named siblings costs no more than finding a
// sibling with a name of its own. The table stores pointers and reads the nodes' names and
// rows: a node must be erased before its name changes and inserted again afterwards, and
// reorder() must follow any change of the level's order other than an insertion or an
// erasure.
class NameIndex
{
public:
    NameIndex() = default;
    NameIndex(NameIndex &&) noexcept = default;
    NameIndex &operator=(NameIndex &&) noexcept = default;

    // node's row must say where it stands among the level's other children (the ones from
    // that row on follow it).
    void insert(ElementNode *node);
    void erase(const ElementNode *node);
    void clear();
    // The level's children were put in another order.
    void reorder();
    // node's kind code changed from oldKind.
    void kindChanged(ElementNode *node, qint32 oldKind);

    // The first sibling (in sibling order) with exactly this name, or null.
    ElementNode *first(QByteArrayView name) const;
    // The sibling with this name (and kind code, with kind) nearest to row: the first at or
    // after row, else the last before it; null when there is none.
    ElementNode *nearest(QByteArrayView name, int row) const;
    ElementNode *nearest(QByteArrayView name, int row, qint32 kind) const;
    // Is there a sibling with this name other than besides (which may be null)?
    bool containsOther(QByteArrayView name, const ElementNode *besides) const;

private:
    using Members = std::vector<ElementNode *>;
    // The siblings of a name that several share, in sibling order.
    struct Group {
        Members all;
        std::unordered_map<qint32, Members> byKind;
    };
    struct Slot {
        size_t hash = 0;
        ElementNode *node = nullptr; // null: free; else the first member
        std::unique_ptr<Group> group; // set while the name has more than one member
    };

    static size_t hashOf(QByteArrayView name);
    static QByteArrayView nameOf(const ElementNode *node);
    static void insertInOrder(Members &members, ElementNode *node);
    static void eraseFrom(Members &members, const ElementNode *node);
    static ElementNode *nearestIn(const Members &members, int row);
    const Slot *find(QByteArrayView name) const;
    size_t findIndex(QByteArrayView name, size_t hash) const;
    void grow();
    void removeSlot(size_t i);

    std::unique_ptr<Slot[]> m_slots;
    size_t m_mask = 0;
    size_t m_live = 0; // names, not nodes
    size_t m_groups = 0; // names with more than one node
};
