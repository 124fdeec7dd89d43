#include "Blowfish.h"

#include "platform/SecureMemory.h"

#include <QtEndian>

#include <cstring>
#include <utility>

namespace {

using Boxes = quint32[BlowfishConstants::BoxCount][BlowfishConstants::BoxSize];

Q_ALWAYS_INLINE quint32 roundFunction(const Boxes &s, quint32 x)
{
    return ((s[0][x >> 24] + s[1][(x >> 16) & 0xFF]) ^ s[2][(x >> 8) & 0xFF]) + s[3][x & 0xFF];
}

// Subkey of step i (0..17): forward for encryption, reversed for decryption.
template <bool Forward>
Q_ALWAYS_INLINE quint32 subkey(const quint32 *p, int i)
{
    return Forward ? p[i] : p[17 - i];
}

// One Feistel step on N independent blocks at once. The blocks do not depend on each
// other, so their table look-ups overlap in the processor instead of waiting in line.
template <std::size_t... K>
Q_ALWAYS_INLINE void step(const Boxes &s, quint32 *from, quint32 *to, quint32 key,
                          std::index_sequence<K...>)
{
    // The subkey goes in first: it is ready long before the look-ups are.
    ((to[K] = (to[K] ^ key) ^ roundFunction(s, from[K])), ...);
}

template <bool Forward, std::size_t N>
Q_ALWAYS_INLINE void cryptBlocks(const quint32 *p, const Boxes &s, quint32 *l, quint32 *r)
{
    constexpr auto all = std::make_index_sequence<N>();
    for (std::size_t k = 0; k < N; ++k) {
        l[k] ^= subkey<Forward>(p, 0);
    }
    // Sixteen rounds, unrolled; the swap after each round is folded into the naming.
    step(s, l, r, subkey<Forward>(p, 1), all);
    step(s, r, l, subkey<Forward>(p, 2), all);
    step(s, l, r, subkey<Forward>(p, 3), all);
    step(s, r, l, subkey<Forward>(p, 4), all);
    step(s, l, r, subkey<Forward>(p, 5), all);
    step(s, r, l, subkey<Forward>(p, 6), all);
    step(s, l, r, subkey<Forward>(p, 7), all);
    step(s, r, l, subkey<Forward>(p, 8), all);
    step(s, l, r, subkey<Forward>(p, 9), all);
    step(s, r, l, subkey<Forward>(p, 10), all);
    step(s, l, r, subkey<Forward>(p, 11), all);
    step(s, r, l, subkey<Forward>(p, 12), all);
    step(s, l, r, subkey<Forward>(p, 13), all);
    step(s, r, l, subkey<Forward>(p, 14), all);
    step(s, l, r, subkey<Forward>(p, 15), all);
    step(s, r, l, subkey<Forward>(p, 16), all);
    for (std::size_t k = 0; k < N; ++k) {
        r[k] ^= subkey<Forward>(p, 17);
        std::swap(l[k], r[k]);
    }
}

template <bool Forward, std::size_t N>
Q_ALWAYS_INLINE void cryptInPlace(const quint32 *p, const Boxes &s, uchar *data)
{
    quint32 l[N];
    quint32 r[N];
    for (std::size_t k = 0; k < N; ++k) {
        l[k] = qFromLittleEndian<quint32>(data + 8 * k);
        r[k] = qFromLittleEndian<quint32>(data + 8 * k + 4);
    }
    cryptBlocks<Forward, N>(p, s, l, r);
    for (std::size_t k = 0; k < N; ++k) {
        qToLittleEndian<quint32>(l[k], data + 8 * k);
        qToLittleEndian<quint32>(r[k], data + 8 * k + 4);
    }
}

template <bool Forward>
void cryptBuffer(const quint32 *p, const Boxes &s, char *data, qsizetype size)
{
    constexpr std::size_t Group = 4;
    auto *bytes = reinterpret_cast<uchar *>(data);
    qsizetype blocks = size > 0 ? size / Blowfish::BlockSize : 0;
    for (; blocks >= qsizetype(Group); blocks -= Group, bytes += Group * Blowfish::BlockSize) {
        cryptInPlace<Forward, Group>(p, s, bytes);
    }
    for (; blocks > 0; --blocks, bytes += Blowfish::BlockSize) {
        cryptInPlace<Forward, 1>(p, s, bytes);
    }
}

} // namespace

Blowfish::Blowfish(QByteArrayView key)
{
    schedule(key);
}

Blowfish::~Blowfish()
{
    SecureMemory::wipe(&m_context, sizeof m_context);
}

void Blowfish::schedule(QByteArrayView key)
{
    std::memcpy(m_context.p, BlowfishConstants::initialSubkeys, sizeof m_context.p);
    std::memcpy(m_context.s, BlowfishConstants::initialBoxes, sizeof m_context.s);

    if (!key.isEmpty()) {
        qsizetype next = 0;
        for (quint32 &subkey : m_context.p) {
            quint32 word = 0;
            for (int b = 0; b < 4; ++b) {
                word = (word << 8) | quint8(key[next]);
                if (++next == key.size()) {
                    next = 0;
                }
            }
            subkey ^= word;
        }
    }

    quint32 left = 0;
    quint32 right = 0;
    for (int i = 0; i < BlowfishConstants::SubkeyCount; i += 2) {
        encryptBlock(left, right);
        m_context.p[i] = left;
        m_context.p[i + 1] = right;
    }
    for (auto &box : m_context.s) {
        for (int i = 0; i < BlowfishConstants::BoxSize; i += 2) {
            encryptBlock(left, right);
            box[i] = left;
            box[i + 1] = right;
        }
    }
}

void Blowfish::encrypt(char *data, qsizetype size) const
{
    cryptBuffer<true>(m_context.p, m_context.s, data, size);
}

void Blowfish::decrypt(char *data, qsizetype size) const
{
    cryptBuffer<false>(m_context.p, m_context.s, data, size);
}

void Blowfish::encryptBlock(quint32 &left, quint32 &right) const
{
    // Local copies: the halves might alias the context, which would keep them in memory.
    quint32 l = left;
    quint32 r = right;
    cryptBlocks<true, 1>(m_context.p, m_context.s, &l, &r);
    left = l;
    right = r;
}

void Blowfish::decryptBlock(quint32 &left, quint32 &right) const
{
    // Local copies: the halves might alias the context, which would keep them in memory.
    quint32 l = left;
    quint32 r = right;
    cryptBlocks<false, 1>(m_context.p, m_context.s, &l, &r);
    left = l;
    right = r;
}

bool Blowfish::hasSameSchedule(const Blowfish &other) const
{
    return std::memcmp(&m_context, &other.m_context, sizeof m_context) == 0;
}
