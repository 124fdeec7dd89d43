#pragma once

#include <QByteArrayView>

#include <cstddef>
#include <memory>

class ElementNode;

// Finds the children of one level by name in constant time: a small open-addressing table
// (linear probing, backward-shift deletion) owned by the parent. Each level has its own
// table, so the rows of one folder, which an import meets one after the other, keep
// finding their table in the cache. Names may repeat within a level (a damaged file can
// hold such siblings), so a lookup reports every match. The table stores pointers: a node
// must be erased before its name changes and inserted again afterwards.
class NameIndex
{
public:
    NameIndex() = default;
    NameIndex(NameIndex &&) noexcept = default;
    NameIndex &operator=(NameIndex &&) noexcept = default;

    void insert(ElementNode *node);
    void erase(const ElementNode *node);
    void clear();

    // Calls visit(node) for every indexed node with exactly this name.
    template<typename Visit>
    void forEach(QByteArrayView name, Visit visit) const
    {
        if (m_live == 0) {
            return;
        }
        const size_t hash = hashOf(name);
        for (size_t i = hash & m_mask; m_slots[i].node; i = (i + 1) & m_mask) {
            const Slot &slot = m_slots[i];
            if (slot.hash == hash && nameOf(slot.node) == name) {
                visit(slot.node);
            }
        }
    }

private:
    struct Slot {
        size_t hash = 0;
        ElementNode *node = nullptr; // null: free
    };

    static size_t hashOf(QByteArrayView name);
    static QByteArrayView nameOf(const ElementNode *node);
    void grow();

    std::unique_ptr<Slot[]> m_slots;
    size_t m_mask = 0;
    size_t m_live = 0;
};
