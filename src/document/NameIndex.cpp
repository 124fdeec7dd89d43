#include "NameIndex.h"

#include "ElementNode.h"

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
            m_slots[i] = old[k];
        }
    }
}

void NameIndex::insert(ElementNode *node)
{
    // At most half full, so probe runs stay short.
    if (!m_slots || (m_live + 1) * 2 > m_mask + 1) {
        grow();
    }
    const size_t hash = hashOf(node->name());
    size_t i = hash & m_mask;
    while (m_slots[i].node) {
        i = (i + 1) & m_mask;
    }
    m_slots[i] = Slot{hash, node};
    ++m_live;
}

void NameIndex::erase(const ElementNode *node)
{
    if (m_live == 0) {
        return;
    }
    size_t i = hashOf(node->name()) & m_mask;
    while (m_slots[i].node && m_slots[i].node != node) {
        i = (i + 1) & m_mask;
    }
    if (!m_slots[i].node) {
        return;
    }
    // Backward shift: move later members of the probe run into the gap, so every entry
    // stays reachable from its home slot without tombstones.
    for (size_t j = (i + 1) & m_mask; m_slots[j].node; j = (j + 1) & m_mask) {
        const size_t home = m_slots[j].hash & m_mask;
        const bool movable = i <= j ? (home <= i || home > j) : (home <= i && home > j);
        if (movable) {
            m_slots[i] = m_slots[j];
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
}
