#include "NameIndex.h"

#include "ElementNode.h"

#include <algorithm>
#include <cstring>

size_t NameIndex::hashOf(QByteArrayView name)
{
    // Eight bytes at a time, each word mixed in by a multiplication, and a final mix that
    // spreads every byte into the low bits the table uses. Names are short: this costs a
    // fraction of a general-purpose hash, and an import hashes every name twice.
    constexpr quint64 multiplier = 0x9E3779B97F4A7C15ull;
    const char *bytes = name.data();
    qsizetype left = name.size();
    quint64 hash = quint64(left) * multiplier;
    for (; left >= 8; left -= 8, bytes += 8) {
        quint64 word;
        std::memcpy(&word, bytes, 8);
        hash = (hash ^ word) * multiplier;
        hash ^= hash >> 29;
    }
    if (left > 0) {
        quint64 word = 0;
        for (qsizetype i = 0; i < left; ++i) {
            word |= quint64(static_cast<unsigned char>(bytes[i])) << (8 * i);
        }
        hash = (hash ^ word) * multiplier;
        hash ^= hash >> 29;
    }
    hash *= 0xBF58476D1CE4E5B9ull;
    return size_t(hash ^ (hash >> 32));
}

QByteArrayView NameIndex::nameOf(const ElementNode *node)
{
    return node->name();
}

void NameIndex::insertInOrder(Members &members, ElementNode *node)
{
    // node goes before the members from its row on; a new sibling usually comes last.
    if (members.empty() || members.back()->row() < node->row()) {
        members.push_back(node);
        return;
    }
    const auto at = std::lower_bound(members.begin(), members.end(), node->row(),
                                     [](const ElementNode *n, int row) { return n->row() < row; });
    members.insert(at, node);
}

void NameIndex::eraseFrom(Members &members, const ElementNode *node)
{
    auto at = std::lower_bound(members.begin(), members.end(), node->row(),
                               [](const ElementNode *n, int row) { return n->row() < row; });
    // Rows are unique within a level; a search that misses (rows out of step) looks at all.
    if (at == members.end() || *at != node) {
        at = std::find(members.begin(), members.end(), node);
    }
    if (at != members.end()) {
        members.erase(at);
    }
}

ElementNode *NameIndex::nearestIn(const Members &members, int row)
{
    const auto at = std::lower_bound(members.begin(), members.end(), row,
                                     [](const ElementNode *n, int r) { return n->row() < r; });
    if (at != members.end()) {
        return *at;
    }
    return members.empty() ? nullptr : members.back();
}

size_t NameIndex::findIndex(QByteArrayView name, size_t hash) const
{
    if (m_live == 0) {
        return size_t(-1);
    }
    for (size_t i = hash & m_mask; m_slots[i].node; i = (i + 1) & m_mask) {
        if (m_slots[i].hash == hash && nameOf(m_slots[i].node) == name) {
            return i;
        }
    }
    return size_t(-1);
}

const NameIndex::Slot *NameIndex::find(QByteArrayView name) const
{
    const size_t i = findIndex(name, hashOf(name));
    return i == size_t(-1) ? nullptr : &m_slots[i];
}

void NameIndex::grow()
{
    // Most levels hold a few dozen children, which an import adds one by one: small tables
    // grow fourfold, so such a level is rehashed twice instead of four times.
    const size_t oldCapacity = m_slots ? m_mask + 1 : 0;
    const size_t capacity = oldCapacity == 0 ? 16 : oldCapacity * (oldCapacity < 256 ? 4 : 2);
    std::unique_ptr<Slot[]> old = std::move(m_slots);
    m_slots = std::make_unique<Slot[]>(capacity);
    m_mask = capacity - 1;
    for (size_t k = 0; k < oldCapacity; ++k) {
        if (old[k].node) {
            size_t i = old[k].hash & m_mask;
            while (m_slots[i].node) {
                i = (i + 1) & m_mask;
            }
            m_slots[i] = std::move(old[k]);
        }
    }
}

void NameIndex::insert(ElementNode *node)
{
    const size_t hash = hashOf(node->name());
    const size_t found = findIndex(node->name(), hash);
    if (found != size_t(-1)) {
        Slot &slot = m_slots[found];
        if (!slot.group) {
            auto group = std::make_unique<Group>();
            group->all.push_back(slot.node);
            group->byKind[slot.node->kind()].push_back(slot.node);
            slot.group = std::move(group);
            ++m_groups;
        }
        insertInOrder(slot.group->all, node);
        insertInOrder(slot.group->byKind[node->kind()], node);
        slot.node = slot.group->all.front();
        return;
    }
    // At most half full, so probe runs stay short.
    if (!m_slots || (m_live + 1) * 2 > m_mask + 1) {
        grow();
    }
    size_t i = hash & m_mask;
    while (m_slots[i].node) {
        i = (i + 1) & m_mask;
    }
    m_slots[i].hash = hash;
    m_slots[i].node = node;
    ++m_live;
}

void NameIndex::erase(const ElementNode *node)
{
    const size_t i = findIndex(node->name(), hashOf(node->name()));
    if (i == size_t(-1)) {
        return;
    }
    Slot &slot = m_slots[i];
    if (!slot.group) {
        if (slot.node == node) {
            removeSlot(i);
        }
        return;
    }
    Group &group = *slot.group;
    eraseFrom(group.all, node);
    const auto kind = group.byKind.find(node->kind());
    if (kind != group.byKind.end()) {
        eraseFrom(kind->second, node);
        if (kind->second.empty()) {
            group.byKind.erase(kind);
        }
    }
    slot.node = group.all.front();
    if (group.all.size() == 1) {
        slot.group.reset();
        --m_groups;
    }
}

void NameIndex::removeSlot(size_t i)
{
    // Backward shift: move later members of the probe run into the gap, so every entry
    // stays reachable from its home slot without tombstones.
    for (size_t j = (i + 1) & m_mask; m_slots[j].node; j = (j + 1) & m_mask) {
        const size_t home = m_slots[j].hash & m_mask;
        const bool movable = i <= j ? (home <= i || home > j) : (home <= i && home > j);
        if (movable) {
            m_slots[i] = std::move(m_slots[j]);
            i = j;
        }
    }
    m_slots[i] = Slot();
    --m_live;
}

void NameIndex::clear()
{
    m_slots.reset();
    m_mask = 0;
    m_live = 0;
    m_groups = 0;
}

void NameIndex::reorder()
{
    if (m_groups == 0) {
        return;
    }
    const auto byRow = [](const ElementNode *a, const ElementNode *b) { return a->row() < b->row(); };
    for (size_t i = 0; i <= m_mask; ++i) {
        Slot &slot = m_slots[i];
        if (!slot.group) {
            continue;
        }
        std::sort(slot.group->all.begin(), slot.group->all.end(), byRow);
        for (auto &[kind, members] : slot.group->byKind) {
            std::sort(members.begin(), members.end(), byRow);
        }
        slot.node = slot.group->all.front();
    }
}

void NameIndex::kindChanged(ElementNode *node, qint32 oldKind)
{
    const size_t i = oldKind == node->kind() ? size_t(-1) : findIndex(node->name(), hashOf(node->name()));
    if (i == size_t(-1) || !m_slots[i].group) {
        return;
    }
    auto &byKind = m_slots[i].group->byKind;
    const auto old = byKind.find(oldKind);
    if (old != byKind.end()) {
        eraseFrom(old->second, node);
        if (old->second.empty()) {
            byKind.erase(old);
        }
    }
    insertInOrder(byKind[node->kind()], node);
}

ElementNode *NameIndex::first(QByteArrayView name) const
{
    const Slot *slot = find(name);
    return slot ? slot->node : nullptr;
}

ElementNode *NameIndex::nearest(QByteArrayView name, int row) const
{
    const Slot *slot = find(name);
    if (!slot) {
        return nullptr;
    }
    return slot->group ? nearestIn(slot->group->all, row) : slot->node;
}

ElementNode *NameIndex::nearest(QByteArrayView name, int row, qint32 kind) const
{
    const Slot *slot = find(name);
    if (!slot) {
        return nullptr;
    }
    if (!slot->group) {
        return slot->node->kind() == kind ? slot->node : nullptr;
    }
    const auto members = slot->group->byKind.find(kind);
    return members == slot->group->byKind.end() ? nullptr : nearestIn(members->second, row);
}

bool NameIndex::containsOther(QByteArrayView name, const ElementNode *besides) const
{
    const Slot *slot = find(name);
    return slot && (slot->group || slot->node != besides);
}
