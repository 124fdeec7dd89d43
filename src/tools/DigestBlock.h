#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

// Byte-order helpers and block buffering shared by the digest families.
namespace DigestBlock {

inline std::uint32_t load32le(const std::uint8_t *p)
{
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

inline std::uint32_t load32be(const std::uint8_t *p) { return __builtin_bswap32(load32le(p)); }

inline std::uint64_t load64le(const std::uint8_t *p)
{
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

inline std::uint64_t load64be(const std::uint8_t *p) { return __builtin_bswap64(load64le(p)); }

inline void store32le(std::uint8_t *p, std::uint32_t v) { std::memcpy(p, &v, 4); }
inline void store32be(std::uint8_t *p, std::uint32_t v) { store32le(p, __builtin_bswap32(v)); }
inline void store64le(std::uint8_t *p, std::uint64_t v) { std::memcpy(p, &v, 8); }
inline void store64be(std::uint8_t *p, std::uint64_t v) { store64le(p, __builtin_bswap64(v)); }

static_assert(std::endian::native == std::endian::little, "the digests assume a little-endian host");

// How the message length closes the padding of the Merkle-Damgard digests.
enum class LengthOrder { LittleEndian64, BigEndian64, BigEndian128 };

// Collects a byte stream into whole blocks for a compression function that takes any
// number of consecutive blocks (compress(const uint8_t *blocks, size_t count)), keeping
// the partial block between calls. Whole blocks in the input are compressed in place,
// without a copy.
template <std::size_t BlockSize>
class Buffer
{
public:
    template <typename Compress>
    void update(const std::uint8_t *data, std::size_t size, Compress &&compress)
    {
        if (size == 0) {
            return; // data may be null
        }
        m_total += size;
        if (m_used != 0) {
            const std::size_t take = std::min(BlockSize - m_used, size);
            std::memcpy(m_block + m_used, data, take);
            m_used += take;
            data += take;
            size -= take;
            if (m_used < BlockSize) {
                return;
            }
            compress(m_block, std::size_t(1));
            m_used = 0;
        }
        const std::size_t whole = size / BlockSize;
        if (whole != 0) {
            compress(data, whole);
            data += whole * BlockSize;
            size -= whole * BlockSize;
        }
        if (size != 0) {
            std::memcpy(m_block, data, size);
            m_used = size;
        }
    }

    // The padding of MD4, MD5, SHA-1 and SHA-2: a 1 bit, zeros, then the message length
    // in bits at the end of the last block. Leaves the buffer empty.
    template <typename Compress>
    void pad(LengthOrder order, Compress &&compress)
    {
        const std::size_t lengthBytes = order == LengthOrder::BigEndian128 ? 16 : 8;
        const std::uint64_t bitsLow = m_total << 3;
        const std::uint64_t bitsHigh = m_total >> 61;
        m_block[m_used++] = 0x80;
        if (m_used > BlockSize - lengthBytes) {
            std::memset(m_block + m_used, 0, BlockSize - m_used);
            compress(m_block, std::size_t(1));
            m_used = 0;
        }
        std::memset(m_block + m_used, 0, BlockSize - m_used);
        std::uint8_t *end = m_block + BlockSize;
        switch (order) {
        case LengthOrder::LittleEndian64:
            store64le(end - 8, bitsLow);
            break;
        case LengthOrder::BigEndian64:
            store64be(end - 8, bitsLow);
            break;
        case LengthOrder::BigEndian128:
            store64be(end - 16, bitsHigh);
            store64be(end - 8, bitsLow);
            break;
        }
        compress(m_block, std::size_t(1));
        reset();
    }

    void reset()
    {
        m_used = 0;
        m_total = 0;
    }

    std::size_t used() const { return m_used; }

private:
    std::uint8_t m_block[BlockSize] = {};
    std::size_t m_used = 0;
    std::uint64_t m_total = 0;
};

} // namespace DigestBlock
