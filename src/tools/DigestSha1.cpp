#include "tools/DigestSha1.h"

#include "tools/CpuFeatures.h"

#include <bit>
#if VAULTBASE_X86
#include <immintrin.h>
#endif

using namespace DigestBlock;

namespace {

constexpr std::uint32_t Sha1Init[5] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476, 0xc3d2e1f0};

// Eighty steps written out; the schedule lives in a 16-word window so every index is a
// constant the compiler can keep in a register or a fixed stack slot.
void sha1CompressPortable(std::uint32_t state[5], const std::uint8_t *p, std::size_t count)
{
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3], e = state[4];
    std::uint32_t w[16];
    for (; count != 0; --count, p += 64) {
        const std::uint32_t a0 = a, b0 = b, c0 = c, d0 = d, e0 = e;
#define SHA1_LOAD(t) (w[t] = load32be(p + 4 * (t)))
#define SHA1_NEXT(t)                                                                                   \
    (w[(t) & 15] = std::rotl(w[((t) - 3) & 15] ^ w[((t) - 8) & 15] ^ w[((t) - 14) & 15] ^ w[(t) & 15], 1))
#define SHA1_CH(b, c, d) ((((c) ^ (d)) & (b)) ^ (d))
#define SHA1_PARITY(b, c, d) ((b) ^ (c) ^ (d))
#define SHA1_MAJ(b, c, d) (((b) & (c)) + ((d) & ((b) ^ (c))))
#define SHA1_STEP(a, b, c, d, e, f, k, word)                                                           \
    e += std::rotl(a, 5) + f(b, c, d) + (k) + (word);                                                   \
    b = std::rotl(b, 30)
#define SHA1_FIVE(f, k, W, t)                                                                          \
    SHA1_STEP(a, b, c, d, e, f, k, W(t));                                                              \
    SHA1_STEP(e, a, b, c, d, f, k, W((t) + 1));                                                        \
    SHA1_STEP(d, e, a, b, c, f, k, W((t) + 2));                                                        \
    SHA1_STEP(c, d, e, a, b, f, k, W((t) + 3));                                                        \
    SHA1_STEP(b, c, d, e, a, f, k, W((t) + 4))
        SHA1_FIVE(SHA1_CH, 0x5a827999u, SHA1_LOAD, 0);
        SHA1_FIVE(SHA1_CH, 0x5a827999u, SHA1_LOAD, 5);
        SHA1_FIVE(SHA1_CH, 0x5a827999u, SHA1_LOAD, 10);
        SHA1_STEP(a, b, c, d, e, SHA1_CH, 0x5a827999u, SHA1_LOAD(15));
        SHA1_STEP(e, a, b, c, d, SHA1_CH, 0x5a827999u, SHA1_NEXT(16));
        SHA1_STEP(d, e, a, b, c, SHA1_CH, 0x5a827999u, SHA1_NEXT(17));
        SHA1_STEP(c, d, e, a, b, SHA1_CH, 0x5a827999u, SHA1_NEXT(18));
        SHA1_STEP(b, c, d, e, a, SHA1_CH, 0x5a827999u, SHA1_NEXT(19));
        SHA1_FIVE(SHA1_PARITY, 0x6ed9eba1u, SHA1_NEXT, 20);
        SHA1_FIVE(SHA1_PARITY, 0x6ed9eba1u, SHA1_NEXT, 25);
        SHA1_FIVE(SHA1_PARITY, 0x6ed9eba1u, SHA1_NEXT, 30);
        SHA1_FIVE(SHA1_PARITY, 0x6ed9eba1u, SHA1_NEXT, 35);
        SHA1_FIVE(SHA1_MAJ, 0x8f1bbcdcu, SHA1_NEXT, 40);
        SHA1_FIVE(SHA1_MAJ, 0x8f1bbcdcu, SHA1_NEXT, 45);
        SHA1_FIVE(SHA1_MAJ, 0x8f1bbcdcu, SHA1_NEXT, 50);
        SHA1_FIVE(SHA1_MAJ, 0x8f1bbcdcu, SHA1_NEXT, 55);
        SHA1_FIVE(SHA1_PARITY, 0xca62c1d6u, SHA1_NEXT, 60);
        SHA1_FIVE(SHA1_PARITY, 0xca62c1d6u, SHA1_NEXT, 65);
        SHA1_FIVE(SHA1_PARITY, 0xca62c1d6u, SHA1_NEXT, 70);
        SHA1_FIVE(SHA1_PARITY, 0xca62c1d6u, SHA1_NEXT, 75);
#undef SHA1_LOAD
#undef SHA1_NEXT
#undef SHA1_CH
#undef SHA1_PARITY
#undef SHA1_MAJ
#undef SHA1_STEP
#undef SHA1_FIVE
        a += a0;
        b += b0;
        c += c0;
        d += d0;
        e += e0;
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
    state[4] = e;
}

#if VAULTBASE_X86
// SHA-1 on the SHA extensions: sha1rnds4 runs four steps, sha1nexte derives the next E,
// sha1msg1/sha1msg2 expand the schedule four words at a time. Group g covers steps 4g to
// 4g+3 on the words W[g] held in msg[g % 4].
__attribute__((target("sha,sse4.1,ssse3"))) void sha1CompressShaNi(std::uint32_t state[5],
                                                                   const std::uint8_t *p,
                                                                   std::size_t count)
{
    const __m128i byteSwap = _mm_set_epi64x(0x0001020304050607LL, 0x08090a0b0c0d0e0fLL);
    __m128i abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i *>(state)), 0x1b);
    __m128i e0 = _mm_set_epi32(int(state[4]), 0, 0, 0);
    __m128i e1;
    __m128i m0, m1, m2, m3;

    for (; count != 0; --count, p += 64) {
        const __m128i abcdSaved = abcd;
        const __m128i eSaved = e0;
#define SHA1NI_LOAD(i) _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * (i))), byteSwap)
        // Steps 0-3.
        m0 = SHA1NI_LOAD(0);
        e0 = _mm_add_epi32(e0, m0);
        e1 = abcd;
        abcd = _mm_sha1rnds4_epu32(abcd, e0, 0);
        // Steps 4-7.
        m1 = SHA1NI_LOAD(1);
        e1 = _mm_sha1nexte_epu32(e1, m1);
        e0 = abcd;
        abcd = _mm_sha1rnds4_epu32(abcd, e1, 0);
        m0 = _mm_sha1msg1_epu32(m0, m1);
        // Steps 8-11.
        m2 = SHA1NI_LOAD(2);
        e0 = _mm_sha1nexte_epu32(e0, m2);
        e1 = abcd;
        abcd = _mm_sha1rnds4_epu32(abcd, e0, 0);
        m1 = _mm_sha1msg1_epu32(m1, m2);
        m0 = _mm_xor_si128(m0, m2);
#undef SHA1NI_LOAD
        m3 = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 48)), byteSwap);

        // A middle group: the next E from this group's words, the four steps, and the
        // schedule work for the groups ahead (msg2 finishes W[g+1], msg1 and xor start
        // W[g+3] and W[g+2]).
#define SHA1NI_GROUP(eCur, eOther, wCur, wNext, wPrev, wPrev2, f)                                      \
    eCur = _mm_sha1nexte_epu32(eCur, wCur);                                                            \
    eOther = abcd;                                                                                     \
    wNext = _mm_sha1msg2_epu32(wNext, wCur);                                                           \
    abcd = _mm_sha1rnds4_epu32(abcd, eCur, f);                                                         \
    wPrev = _mm_sha1msg1_epu32(wPrev, wCur);                                                           \
    wPrev2 = _mm_xor_si128(wPrev2, wCur)
        SHA1NI_GROUP(e1, e0, m3, m0, m2, m1, 0); // steps 12-15
        SHA1NI_GROUP(e0, e1, m0, m1, m3, m2, 0); // 16-19
        SHA1NI_GROUP(e1, e0, m1, m2, m0, m3, 1); // 20-23
        SHA1NI_GROUP(e0, e1, m2, m3, m1, m0, 1); // 24-27
        SHA1NI_GROUP(e1, e0, m3, m0, m2, m1, 1); // 28-31
        SHA1NI_GROUP(e0, e1, m0, m1, m3, m2, 1); // 32-35
        SHA1NI_GROUP(e1, e0, m1, m2, m0, m3, 1); // 36-39
        SHA1NI_GROUP(e0, e1, m2, m3, m1, m0, 2); // 40-43
        SHA1NI_GROUP(e1, e0, m3, m0, m2, m1, 2); // 44-47
        SHA1NI_GROUP(e0, e1, m0, m1, m3, m2, 2); // 48-51
        SHA1NI_GROUP(e1, e0, m1, m2, m0, m3, 2); // 52-55
        SHA1NI_GROUP(e0, e1, m2, m3, m1, m0, 2); // 56-59
        SHA1NI_GROUP(e1, e0, m3, m0, m2, m1, 3); // 60-63
        SHA1NI_GROUP(e0, e1, m0, m1, m3, m2, 3); // 64-67 (last msg1)
#undef SHA1NI_GROUP
        // Steps 68-71: the last xor, and msg2 finishes W[18].
        e1 = _mm_sha1nexte_epu32(e1, m1);
        e0 = abcd;
        m2 = _mm_sha1msg2_epu32(m2, m1);
        abcd = _mm_sha1rnds4_epu32(abcd, e1, 3);
        m3 = _mm_xor_si128(m3, m1);
        // Steps 72-75: msg2 finishes W[19].
        e0 = _mm_sha1nexte_epu32(e0, m2);
        e1 = abcd;
        m3 = _mm_sha1msg2_epu32(m3, m2);
        abcd = _mm_sha1rnds4_epu32(abcd, e0, 3);
        // Steps 76-79.
        e1 = _mm_sha1nexte_epu32(e1, m3);
        e0 = abcd;
        abcd = _mm_sha1rnds4_epu32(abcd, e1, 3);

        e0 = _mm_sha1nexte_epu32(e0, eSaved);
        abcd = _mm_add_epi32(abcd, abcdSaved);
    }

    _mm_storeu_si128(reinterpret_cast<__m128i *>(state), _mm_shuffle_epi32(abcd, 0x1b));
    state[4] = std::uint32_t(_mm_extract_epi32(e0, 3));
}
#endif

Sha1Digest::Compress chooseCompress(DigestEngine engine)
{
#if VAULTBASE_X86
    if (engine == DigestEngine::Fastest && cpuHasShaExtensions()) {
        return sha1CompressShaNi;
    }
#endif
    return sha1CompressPortable;
}

} // namespace

Sha1Digest::Sha1Digest(DigestEngine engine) : m_compress(chooseCompress(engine)) { reset(); }

bool Sha1Digest::usesShaExtensions() const { return m_compress != sha1CompressPortable; }

void Sha1Digest::reset()
{
    std::memcpy(m_state, Sha1Init, sizeof m_state);
    m_buffer.reset();
}

void Sha1Digest::update(const void *data, std::size_t size)
{
    m_buffer.update(static_cast<const std::uint8_t *>(data), size,
                    [this](const std::uint8_t *blocks, std::size_t count) { m_compress(m_state, blocks, count); });
}

void Sha1Digest::final(unsigned char *out)
{
    m_buffer.pad(LengthOrder::BigEndian64,
                 [this](const std::uint8_t *blocks, std::size_t count) { m_compress(m_state, blocks, count); });
    for (int i = 0; i < 5; ++i) {
        store32be(out + 4 * i, m_state[i]);
    }
    reset();
}
