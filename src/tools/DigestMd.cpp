#include "tools/DigestMd.h"

#include <bit>

using namespace DigestBlock;

namespace {

// RFC 1319's substitution: a permutation of 0..255 built from the digits of pi.
constexpr std::uint8_t Md2Pi[256] = {
    41,  46,  67,  201, 162, 216, 124, 1,   61,  54,  84,  161, 236, 240, 6,   19,
    98,  167, 5,   243, 192, 199, 115, 140, 152, 147, 43,  217, 188, 76,  130, 202,
    30,  155, 87,  60,  253, 212, 224, 22,  103, 66,  111, 24,  138, 23,  229, 18,
    190, 78,  196, 214, 218, 158, 222, 73,  160, 251, 245, 142, 187, 47,  238, 122,
    169, 104, 121, 145, 21,  178, 7,   63,  148, 194, 16,  137, 11,  34,  95,  33,
    128, 127, 93,  154, 90,  144, 50,  39,  53,  62,  204, 231, 191, 247, 151, 3,
    255, 25,  48,  179, 72,  165, 181, 209, 215, 94,  146, 42,  172, 86,  170, 198,
    79,  184, 56,  210, 150, 164, 125, 182, 118, 252, 107, 226, 156, 116, 4,   241,
    69,  157, 112, 89,  100, 113, 135, 32,  134, 91,  207, 101, 230, 45,  168, 2,
    27,  96,  37,  173, 174, 176, 185, 246, 28,  70,  97,  105, 52,  64,  126, 15,
    85,  71,  163, 35,  221, 81,  175, 58,  195, 92,  249, 206, 186, 197, 234, 38,
    44,  83,  13,  110, 133, 40,  132, 9,   211, 223, 205, 244, 65,  129, 77,  82,
    106, 220, 55,  200, 108, 193, 171, 250, 36,  225, 123, 8,   12,  189, 177, 74,
    120, 136, 149, 139, 227, 99,  232, 109, 233, 203, 213, 254, 59,  0,   29,  57,
    242, 239, 183, 14,  102, 88,  208, 228, 166, 119, 114, 248, 235, 117, 75,  10,
    49,  68,  80,  180, 143, 237, 31,  26,  219, 153, 141, 51,  159, 17,  131, 20,
};

constexpr bool isPermutation(const std::uint8_t (&table)[256])
{
    bool seen[256] = {};
    for (std::uint8_t v : table) {
        if (seen[v]) {
            return false;
        }
        seen[v] = true;
    }
    return true;
}
static_assert(isPermutation(Md2Pi), "the MD2 substitution must be a permutation");

constexpr std::uint32_t Md5Init[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};

inline std::uint32_t rotl(std::uint32_t x, int s) { return std::rotl(x, s); }

void md4Compress(std::uint32_t state[4], const std::uint8_t *p, std::size_t count)
{
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (; count != 0; --count, p += 64) {
        std::uint32_t x[16];
        for (int i = 0; i < 16; ++i) {
            x[i] = load32le(p + 4 * i);
        }
        const std::uint32_t a0 = a, b0 = b, c0 = c, d0 = d;
#define MD4_F(x, y, z) ((((y) ^ (z)) & (x)) ^ (z))
#define MD4_G(x, y, z) (((x) & (y)) | (((x) | (y)) & (z)))
#define MD4_H(x, y, z) ((x) ^ (y) ^ (z))
#define MD4_R1(a, b, c, d, k, s) a = rotl(a + MD4_F(b, c, d) + x[k], s)
#define MD4_R2(a, b, c, d, k, s) a = rotl(a + MD4_G(b, c, d) + x[k] + 0x5a827999u, s)
#define MD4_R3(a, b, c, d, k, s) a = rotl(a + MD4_H(b, c, d) + x[k] + 0x6ed9eba1u, s)
        MD4_R1(a, b, c, d, 0, 3);  MD4_R1(d, a, b, c, 1, 7);  MD4_R1(c, d, a, b, 2, 11);  MD4_R1(b, c, d, a, 3, 19);
        MD4_R1(a, b, c, d, 4, 3);  MD4_R1(d, a, b, c, 5, 7);  MD4_R1(c, d, a, b, 6, 11);  MD4_R1(b, c, d, a, 7, 19);
        MD4_R1(a, b, c, d, 8, 3);  MD4_R1(d, a, b, c, 9, 7);  MD4_R1(c, d, a, b, 10, 11); MD4_R1(b, c, d, a, 11, 19);
        MD4_R1(a, b, c, d, 12, 3); MD4_R1(d, a, b, c, 13, 7); MD4_R1(c, d, a, b, 14, 11); MD4_R1(b, c, d, a, 15, 19);

        MD4_R2(a, b, c, d, 0, 3);  MD4_R2(d, a, b, c, 4, 5);  MD4_R2(c, d, a, b, 8, 9);   MD4_R2(b, c, d, a, 12, 13);
        MD4_R2(a, b, c, d, 1, 3);  MD4_R2(d, a, b, c, 5, 5);  MD4_R2(c, d, a, b, 9, 9);   MD4_R2(b, c, d, a, 13, 13);
        MD4_R2(a, b, c, d, 2, 3);  MD4_R2(d, a, b, c, 6, 5);  MD4_R2(c, d, a, b, 10, 9);  MD4_R2(b, c, d, a, 14, 13);
        MD4_R2(a, b, c, d, 3, 3);  MD4_R2(d, a, b, c, 7, 5);  MD4_R2(c, d, a, b, 11, 9);  MD4_R2(b, c, d, a, 15, 13);

        MD4_R3(a, b, c, d, 0, 3);  MD4_R3(d, a, b, c, 8, 9);  MD4_R3(c, d, a, b, 4, 11);  MD4_R3(b, c, d, a, 12, 15);
        MD4_R3(a, b, c, d, 2, 3);  MD4_R3(d, a, b, c, 10, 9); MD4_R3(c, d, a, b, 6, 11);  MD4_R3(b, c, d, a, 14, 15);
        MD4_R3(a, b, c, d, 1, 3);  MD4_R3(d, a, b, c, 9, 9);  MD4_R3(c, d, a, b, 5, 11);  MD4_R3(b, c, d, a, 13, 15);
        MD4_R3(a, b, c, d, 3, 3);  MD4_R3(d, a, b, c, 11, 9); MD4_R3(c, d, a, b, 7, 11);  MD4_R3(b, c, d, a, 15, 15);
#undef MD4_F
#undef MD4_G
#undef MD4_H
#undef MD4_R1
#undef MD4_R2
#undef MD4_R3
        a += a0;
        b += b0;
        c += c0;
        d += d0;
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
}

// The four MD5 rounds written out step by step; the message words are read straight from
// the block so the compiler can fold the loads into the additions.
void md5Compress(std::uint32_t state[4], const std::uint8_t *p, std::size_t count)
{
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (; count != 0; --count, p += 64) {
        const std::uint32_t a0 = a, b0 = b, c0 = c, d0 = d;
#define MD5_X(k) load32le(p + 4 * (k))
#define MD5_F(a, b, c, d, k, t, s) a += ((((c) ^ (d)) & (b)) ^ (d)) + MD5_X(k) + (t); a = rotl(a, s) + (b)
        // G as two disjoint parts added separately, which shortens the dependency chain.
#define MD5_G(a, b, c, d, k, t, s) a += (~(d) & (c)) + MD5_X(k) + (t); a += (d) & (b); a = rotl(a, s) + (b)
#define MD5_H(a, b, c, d, k, t, s) a += ((b) ^ (c) ^ (d)) + MD5_X(k) + (t); a = rotl(a, s) + (b)
#define MD5_I(a, b, c, d, k, t, s) a += ((c) ^ ((b) | ~(d))) + MD5_X(k) + (t); a = rotl(a, s) + (b)
        MD5_F(a, b, c, d, 0, 0xd76aa478u, 7);   MD5_F(d, a, b, c, 1, 0xe8c7b756u, 12);
        MD5_F(c, d, a, b, 2, 0x242070dbu, 17);  MD5_F(b, c, d, a, 3, 0xc1bdceeeu, 22);
        MD5_F(a, b, c, d, 4, 0xf57c0fafu, 7);   MD5_F(d, a, b, c, 5, 0x4787c62au, 12);
        MD5_F(c, d, a, b, 6, 0xa8304613u, 17);  MD5_F(b, c, d, a, 7, 0xfd469501u, 22);
        MD5_F(a, b, c, d, 8, 0x698098d8u, 7);   MD5_F(d, a, b, c, 9, 0x8b44f7afu, 12);
        MD5_F(c, d, a, b, 10, 0xffff5bb1u, 17); MD5_F(b, c, d, a, 11, 0x895cd7beu, 22);
        MD5_F(a, b, c, d, 12, 0x6b901122u, 7);  MD5_F(d, a, b, c, 13, 0xfd987193u, 12);
        MD5_F(c, d, a, b, 14, 0xa679438eu, 17); MD5_F(b, c, d, a, 15, 0x49b40821u, 22);

        MD5_G(a, b, c, d, 1, 0xf61e2562u, 5);   MD5_G(d, a, b, c, 6, 0xc040b340u, 9);
        MD5_G(c, d, a, b, 11, 0x265e5a51u, 14); MD5_G(b, c, d, a, 0, 0xe9b6c7aau, 20);
        MD5_G(a, b, c, d, 5, 0xd62f105du, 5);   MD5_G(d, a, b, c, 10, 0x02441453u, 9);
        MD5_G(c, d, a, b, 15, 0xd8a1e681u, 14); MD5_G(b, c, d, a, 4, 0xe7d3fbc8u, 20);
        MD5_G(a, b, c, d, 9, 0x21e1cde6u, 5);   MD5_G(d, a, b, c, 14, 0xc33707d6u, 9);
        MD5_G(c, d, a, b, 3, 0xf4d50d87u, 14);  MD5_G(b, c, d, a, 8, 0x455a14edu, 20);
        MD5_G(a, b, c, d, 13, 0xa9e3e905u, 5);  MD5_G(d, a, b, c, 2, 0xfcefa3f8u, 9);
        MD5_G(c, d, a, b, 7, 0x676f02d9u, 14);  MD5_G(b, c, d, a, 12, 0x8d2a4c8au, 20);

        MD5_H(a, b, c, d, 5, 0xfffa3942u, 4);   MD5_H(d, a, b, c, 8, 0x8771f681u, 11);
        MD5_H(c, d, a, b, 11, 0x6d9d6122u, 16); MD5_H(b, c, d, a, 14, 0xfde5380cu, 23);
        MD5_H(a, b, c, d, 1, 0xa4beea44u, 4);   MD5_H(d, a, b, c, 4, 0x4bdecfa9u, 11);
        MD5_H(c, d, a, b, 7, 0xf6bb4b60u, 16);  MD5_H(b, c, d, a, 10, 0xbebfbc70u, 23);
        MD5_H(a, b, c, d, 13, 0x289b7ec6u, 4);  MD5_H(d, a, b, c, 0, 0xeaa127fau, 11);
        MD5_H(c, d, a, b, 3, 0xd4ef3085u, 16);  MD5_H(b, c, d, a, 6, 0x04881d05u, 23);
        MD5_H(a, b, c, d, 9, 0xd9d4d039u, 4);   MD5_H(d, a, b, c, 12, 0xe6db99e5u, 11);
        MD5_H(c, d, a, b, 15, 0x1fa27cf8u, 16); MD5_H(b, c, d, a, 2, 0xc4ac5665u, 23);

        MD5_I(a, b, c, d, 0, 0xf4292244u, 6);   MD5_I(d, a, b, c, 7, 0x432aff97u, 10);
        MD5_I(c, d, a, b, 14, 0xab9423a7u, 15); MD5_I(b, c, d, a, 5, 0xfc93a039u, 21);
        MD5_I(a, b, c, d, 12, 0x655b59c3u, 6);  MD5_I(d, a, b, c, 3, 0x8f0ccc92u, 10);
        MD5_I(c, d, a, b, 10, 0xffeff47du, 15); MD5_I(b, c, d, a, 1, 0x85845dd1u, 21);
        MD5_I(a, b, c, d, 8, 0x6fa87e4fu, 6);   MD5_I(d, a, b, c, 15, 0xfe2ce6e0u, 10);
        MD5_I(c, d, a, b, 6, 0xa3014314u, 15);  MD5_I(b, c, d, a, 13, 0x4e0811a1u, 21);
        MD5_I(a, b, c, d, 4, 0xf7537e82u, 6);   MD5_I(d, a, b, c, 11, 0xbd3af235u, 10);
        MD5_I(c, d, a, b, 2, 0x2ad7d2bbu, 15);  MD5_I(b, c, d, a, 9, 0xeb86d391u, 21);
#undef MD5_X
#undef MD5_F
#undef MD5_G
#undef MD5_H
#undef MD5_I
        a += a0;
        b += b0;
        c += c0;
        d += d0;
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
}

void storeStateLe(unsigned char *out, const std::uint32_t state[4])
{
    for (int i = 0; i < 4; ++i) {
        store32le(out + 4 * i, state[i]);
    }
}

} // namespace

// --- MD2 -------------------------------------------------------------------------------

void Md2Digest::reset()
{
    std::memset(m_state, 0, sizeof m_state);
    std::memset(m_checksum, 0, sizeof m_checksum);
    m_buffer.reset();
}

void Md2Digest::compress(const std::uint8_t *blocks, std::size_t count)
{
    for (; count != 0; --count, blocks += 16) {
        for (int j = 0; j < 16; ++j) {
            m_state[16 + j] = blocks[j];
            m_state[32 + j] = std::uint8_t(m_state[16 + j] ^ m_state[j]);
        }
        unsigned t = 0;
        for (unsigned j = 0; j < 18; ++j) {
            for (int k = 0; k < 48; ++k) {
                t = m_state[k] ^= Md2Pi[t];
            }
            t = (t + j) & 0xff;
        }
        // The checksum is XORed in, as RFC 1319's reference code and test suite do.
        std::uint8_t last = m_checksum[15];
        for (int j = 0; j < 16; ++j) {
            m_checksum[j] ^= Md2Pi[blocks[j] ^ last];
            last = m_checksum[j];
        }
    }
}

void Md2Digest::update(const void *data, std::size_t size)
{
    m_buffer.update(static_cast<const std::uint8_t *>(data), size,
                    [this](const std::uint8_t *blocks, std::size_t count) { compress(blocks, count); });
}

void Md2Digest::final(unsigned char *out)
{
    // Pad with n bytes of value n (1 to 16), then run the checksum itself as a last block.
    const std::size_t n = 16 - m_buffer.used();
    std::uint8_t padding[16];
    std::memset(padding, int(n), n);
    update(padding, n);
    std::uint8_t checksum[16];
    std::memcpy(checksum, m_checksum, 16);
    update(checksum, 16);
    std::memcpy(out, m_state, 16);
    reset();
}

// --- MD4 -------------------------------------------------------------------------------

void Md4Digest::reset()
{
    std::memcpy(m_state, Md5Init, sizeof m_state); // MD4 and MD5 start alike
    m_buffer.reset();
}

void Md4Digest::update(const void *data, std::size_t size)
{
    m_buffer.update(static_cast<const std::uint8_t *>(data), size,
                    [this](const std::uint8_t *blocks, std::size_t count) { md4Compress(m_state, blocks, count); });
}

void Md4Digest::final(unsigned char *out)
{
    m_buffer.pad(LengthOrder::LittleEndian64,
                 [this](const std::uint8_t *blocks, std::size_t count) { md4Compress(m_state, blocks, count); });
    storeStateLe(out, m_state);
    reset();
}

// --- MD5 -------------------------------------------------------------------------------

void Md5Digest::reset()
{
    std::memcpy(m_state, Md5Init, sizeof m_state);
    m_buffer.reset();
}

void Md5Digest::update(const void *data, std::size_t size)
{
    m_buffer.update(static_cast<const std::uint8_t *>(data), size,
                    [this](const std::uint8_t *blocks, std::size_t count) { md5Compress(m_state, blocks, count); });
}

void Md5Digest::final(unsigned char *out)
{
    m_buffer.pad(LengthOrder::LittleEndian64,
                 [this](const std::uint8_t *blocks, std::size_t count) { md5Compress(m_state, blocks, count); });
    storeStateLe(out, m_state);
    reset();
}
