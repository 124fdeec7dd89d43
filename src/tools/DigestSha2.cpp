#include "tools/DigestSha2.h"

#include "tools/CpuFeatures.h"

#include <bit>
#if VAULTBASE_X86
#include <immintrin.h>
#endif

using namespace DigestBlock;

namespace {

// The first 32 bits of the fractional parts of the cube roots of the first 64 primes.
alignas(16) constexpr std::uint32_t K256[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

// The first 64 bits of the fractional parts of the cube roots of the first 80 primes.
alignas(16) constexpr std::uint64_t K512[80] = {
    0x428a2f98d728ae22, 0x7137449123ef65cd, 0xb5c0fbcfec4d3b2f, 0xe9b5dba58189dbbc, 0x3956c25bf348b538,
    0x59f111f1b605d019, 0x923f82a4af194f9b, 0xab1c5ed5da6d8118, 0xd807aa98a3030242, 0x12835b0145706fbe,
    0x243185be4ee4b28c, 0x550c7dc3d5ffb4e2, 0x72be5d74f27b896f, 0x80deb1fe3b1696b1, 0x9bdc06a725c71235,
    0xc19bf174cf692694, 0xe49b69c19ef14ad2, 0xefbe4786384f25e3, 0x0fc19dc68b8cd5b5, 0x240ca1cc77ac9c65,
    0x2de92c6f592b0275, 0x4a7484aa6ea6e483, 0x5cb0a9dcbd41fbd4, 0x76f988da831153b5, 0x983e5152ee66dfab,
    0xa831c66d2db43210, 0xb00327c898fb213f, 0xbf597fc7beef0ee4, 0xc6e00bf33da88fc2, 0xd5a79147930aa725,
    0x06ca6351e003826f, 0x142929670a0e6e70, 0x27b70a8546d22ffc, 0x2e1b21385c26c926, 0x4d2c6dfc5ac42aed,
    0x53380d139d95b3df, 0x650a73548baf63de, 0x766a0abb3c77b2a8, 0x81c2c92e47edaee6, 0x92722c851482353b,
    0xa2bfe8a14cf10364, 0xa81a664bbc423001, 0xc24b8b70d0f89791, 0xc76c51a30654be30, 0xd192e819d6ef5218,
    0xd69906245565a910, 0xf40e35855771202a, 0x106aa07032bbd1b8, 0x19a4c116b8d2d0c8, 0x1e376c085141ab53,
    0x2748774cdf8eeb99, 0x34b0bcb5e19b48a8, 0x391c0cb3c5c95a63, 0x4ed8aa4ae3418acb, 0x5b9cca4f7763e373,
    0x682e6ff3d6b2b8a3, 0x748f82ee5defb2fc, 0x78a5636f43172f60, 0x84c87814a1f0ab72, 0x8cc702081a6439ec,
    0x90befffa23631e28, 0xa4506cebde82bde9, 0xbef9a3f7b2c67915, 0xc67178f2e372532b, 0xca273eceea26619c,
    0xd186b8c721c0c207, 0xeada7dd6cde0eb1e, 0xf57d4f7fee6ed178, 0x06f067aa72176fba, 0x0a637dc5a2c898a6,
    0x113f9804bef90dae, 0x1b710b35131c471b, 0x28db77f523047d84, 0x32caab7b40c72493, 0x3c9ebe0a15c9bebc,
    0x431d67c49c100d4c, 0x4cc5d4becb3e42b6, 0x597f299cfc657e2a, 0x5fcb6fab3ad6faec, 0x6c44198c4a475817,
};

constexpr std::uint32_t Sha256Init[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                         0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
constexpr std::uint32_t Sha224Init[8] = {0xc1059ed8, 0x367cd507, 0x3070dd17, 0xf70e5939,
                                         0xffc00b31, 0x68581511, 0x64f98fa7, 0xbefa4fa4};
constexpr std::uint64_t Sha512Init[8] = {0x6a09e667f3bcc908, 0xbb67ae8584caa73b, 0x3c6ef372fe94f82b,
                                         0xa54ff53a5f1d36f1, 0x510e527fade682d1, 0x9b05688c2b3e6c1f,
                                         0x1f83d9abfb41bd6b, 0x5be0cd19137e2179};
constexpr std::uint64_t Sha384Init[8] = {0xcbbb9d5dc1059ed8, 0x629a292a367cd507, 0x9159015a3070dd17,
                                         0x152fecd8f70e5939, 0x67332667ffc00b31, 0x8eb44a8768581511,
                                         0xdb0c2e0d64f98fa7, 0x47b5481dbefa4fa4};

// One round on names that rotate instead of values that move: h takes T1 + T2, d takes
// d + T1. Eight calls with the names shifted by one make the variables line up again.
// Maj(a, b, c) is ((a ^ b) & (b ^ c)) ^ b, and this round's a ^ b is the next round's
// b ^ c, so ab and bc alternate between two variables (x and y).
#define SHA2_ROUND(a, b, c, d, e, f, g, h, kw, S0, S1, ab, bc)                                        \
    h += (kw) + ((((f) ^ (g)) & (e)) ^ (g)) + S1(e);                                                 \
    d += h;                                                                                            \
    ab = (a) ^ (b);                                                                                    \
    h += S0(a) + (((ab) & (bc)) ^ (b))
// KW(t) is the round constant plus the message word of round t.
#define SHA2_EIGHT(t, KW, S0, S1)                                                                      \
    SHA2_ROUND(a, b, c, d, e, f, g, h, KW((t) + 0), S0, S1, x, y);                                    \
    SHA2_ROUND(h, a, b, c, d, e, f, g, KW((t) + 1), S0, S1, y, x);                                    \
    SHA2_ROUND(g, h, a, b, c, d, e, f, KW((t) + 2), S0, S1, x, y);                                    \
    SHA2_ROUND(f, g, h, a, b, c, d, e, KW((t) + 3), S0, S1, y, x);                                    \
    SHA2_ROUND(e, f, g, h, a, b, c, d, KW((t) + 4), S0, S1, x, y);                                    \
    SHA2_ROUND(d, e, f, g, h, a, b, c, KW((t) + 5), S0, S1, y, x);                                    \
    SHA2_ROUND(c, d, e, f, g, h, a, b, KW((t) + 6), S0, S1, x, y);                                    \
    SHA2_ROUND(b, c, d, e, f, g, h, a, KW((t) + 7), S0, S1, y, x)

void sha256CompressPortable(std::uint32_t state[8], const std::uint8_t *p, std::size_t count)
{
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    std::uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
    std::uint32_t w[16];
    for (; count != 0; --count, p += 64) {
        const std::uint32_t saved[8] = {a, b, c, d, e, f, g, h};
        std::uint32_t x, y = b ^ c;
#define S0_256(v) std::rotr(std::rotr(std::rotr(v, 9) ^ (v), 11) ^ (v), 2)
#define S1_256(v) std::rotr(std::rotr(std::rotr(v, 14) ^ (v), 5) ^ (v), 6)
#define s0_256(v) (std::rotr(v, 7) ^ std::rotr(v, 18) ^ ((v) >> 3))
#define s1_256(v) (std::rotr(v, 17) ^ std::rotr(v, 19) ^ ((v) >> 10))
#define W256_LOAD(t) (K256[t] + (w[t] = load32be(p + 4 * (t))))
#define W256_NEXT(t)                                                                                   \
    (K256[t] + (w[(t) & 15] += s1_256(w[((t) - 2) & 15]) + w[((t) - 7) & 15] + s0_256(w[((t) - 15) & 15])))
        SHA2_EIGHT(0, W256_LOAD, S0_256, S1_256);
        SHA2_EIGHT(8, W256_LOAD, S0_256, S1_256);
        SHA2_EIGHT(16, W256_NEXT, S0_256, S1_256);
        SHA2_EIGHT(24, W256_NEXT, S0_256, S1_256);
        SHA2_EIGHT(32, W256_NEXT, S0_256, S1_256);
        SHA2_EIGHT(40, W256_NEXT, S0_256, S1_256);
        SHA2_EIGHT(48, W256_NEXT, S0_256, S1_256);
        SHA2_EIGHT(56, W256_NEXT, S0_256, S1_256);
#undef S0_256
#undef S1_256
#undef s0_256
#undef s1_256
#undef W256_LOAD
#undef W256_NEXT
        a += saved[0];
        b += saved[1];
        c += saved[2];
        d += saved[3];
        e += saved[4];
        f += saved[5];
        g += saved[6];
        h += saved[7];
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
    state[4] = e;
    state[5] = f;
    state[6] = g;
    state[7] = h;
}

#if VAULTBASE_X86
// SHA-256 on the SHA extensions: the state is held as ABEF and CDGH, sha256rnds2 runs two
// rounds, sha256msg1/sha256msg2 expand the schedule. Group g runs rounds 4g to 4g+3 on
// the words W[g] held in msg[g % 4].
__attribute__((target("sha,sse4.1,ssse3"))) void sha256CompressShaNi(std::uint32_t state[8],
                                                                     const std::uint8_t *p,
                                                                     std::size_t count)
{
    const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bLL, 0x0405060700010203LL);
    __m128i tmp = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i *>(state)), 0xb1); // CDAB
    __m128i state1 = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i *>(state + 4)), 0x1b); // EFGH
    __m128i state0 = _mm_alignr_epi8(tmp, state1, 8); // ABEF
    state1 = _mm_blend_epi16(state1, tmp, 0xf0);      // CDGH
    __m128i m0, m1, m2, m3, msg;

    for (; count != 0; --count, p += 64) {
        const __m128i abefSaved = state0;
        const __m128i cdghSaved = state1;
#define SHA256NI_K(g) _mm_load_si128(reinterpret_cast<const __m128i *>(K256 + 4 * (g)))
#define SHA256NI_LOAD(i) _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * (i))), byteSwap)
#define SHA256NI_ROUNDS_A(wCur, g)                                                                     \
    msg = _mm_add_epi32(wCur, SHA256NI_K(g));                                                          \
    state1 = _mm_sha256rnds2_epu32(state1, state0, msg)
#define SHA256NI_ROUNDS_B()                                                                            \
    msg = _mm_shuffle_epi32(msg, 0x0e);                                                                \
    state0 = _mm_sha256rnds2_epu32(state0, state1, msg)
        // W[g+1] is finished from W[g-1..g] and the msg1 part started two groups before.
#define SHA256NI_MSG2(wCur, wNext, wPrev)                                                              \
    wNext = _mm_add_epi32(wNext, _mm_alignr_epi8(wCur, wPrev, 4));                                     \
    wNext = _mm_sha256msg2_epu32(wNext, wCur)
#define SHA256NI_GROUP(wCur, wNext, wPrev, g)                                                          \
    SHA256NI_ROUNDS_A(wCur, g);                                                                        \
    SHA256NI_MSG2(wCur, wNext, wPrev);                                                                 \
    SHA256NI_ROUNDS_B();                                                                               \
    wPrev = _mm_sha256msg1_epu32(wPrev, wCur)

        m0 = SHA256NI_LOAD(0);
        SHA256NI_ROUNDS_A(m0, 0);
        SHA256NI_ROUNDS_B();
        m1 = SHA256NI_LOAD(1);
        SHA256NI_ROUNDS_A(m1, 1);
        SHA256NI_ROUNDS_B();
        m0 = _mm_sha256msg1_epu32(m0, m1);
        m2 = SHA256NI_LOAD(2);
        SHA256NI_ROUNDS_A(m2, 2);
        SHA256NI_ROUNDS_B();
        m1 = _mm_sha256msg1_epu32(m1, m2);
        m3 = SHA256NI_LOAD(3);
        SHA256NI_GROUP(m3, m0, m2, 3);
        SHA256NI_GROUP(m0, m1, m3, 4);
        SHA256NI_GROUP(m1, m2, m0, 5);
        SHA256NI_GROUP(m2, m3, m1, 6);
        SHA256NI_GROUP(m3, m0, m2, 7);
        SHA256NI_GROUP(m0, m1, m3, 8);
        SHA256NI_GROUP(m1, m2, m0, 9);
        SHA256NI_GROUP(m2, m3, m1, 10);
        SHA256NI_GROUP(m3, m0, m2, 11);
        SHA256NI_GROUP(m0, m1, m3, 12);
        // Rounds 52-59 finish the last two groups of words; 60-63 only use them.
        SHA256NI_ROUNDS_A(m1, 13);
        SHA256NI_MSG2(m1, m2, m0);
        SHA256NI_ROUNDS_B();
        SHA256NI_ROUNDS_A(m2, 14);
        SHA256NI_MSG2(m2, m3, m1);
        SHA256NI_ROUNDS_B();
        SHA256NI_ROUNDS_A(m3, 15);
        SHA256NI_ROUNDS_B();
#undef SHA256NI_K
#undef SHA256NI_LOAD
#undef SHA256NI_ROUNDS_A
#undef SHA256NI_ROUNDS_B
#undef SHA256NI_MSG2
#undef SHA256NI_GROUP
        state0 = _mm_add_epi32(state0, abefSaved);
        state1 = _mm_add_epi32(state1, cdghSaved);
    }

    tmp = _mm_shuffle_epi32(state0, 0x1b);           // FEBA
    state1 = _mm_shuffle_epi32(state1, 0xb1);        // DCHG
    state0 = _mm_blend_epi16(tmp, state1, 0xf0);     // DCBA
    state1 = _mm_alignr_epi8(state1, tmp, 8);        // HGFE
    _mm_storeu_si128(reinterpret_cast<__m128i *>(state), state0);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(state + 4), state1);
}
#endif

// Two 64-bit lanes; GCC's generic vectors become SSE2 on x86-64 and plain scalar code
// elsewhere.
typedef std::uint64_t U64x2 __attribute__((vector_size(16)));

inline U64x2 loadPairBe(const std::uint8_t *p) { return U64x2{load64be(p), load64be(p + 8)}; }

inline U64x2 loadPair(const std::uint64_t *p)
{
    U64x2 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// The high word of lo and the low word of hi: the pair that starts one word later.
inline U64x2 straddle(U64x2 lo, U64x2 hi) { return __builtin_shuffle(lo, hi, U64x2{1, 2}); }

// The rounds on scalar registers; the message schedule two words at a time in vector
// registers, two groups of eight rounds ahead, stored with the round constants added.
// Keeping the schedule off the scalar units nearly halves their work.
[[gnu::always_inline]] inline void sha512CompressBody(std::uint64_t state[8], const std::uint8_t *p,
                                                      std::size_t count)
{
    std::uint64_t a = state[0], b = state[1], c = state[2], d = state[3];
    std::uint64_t e = state[4], f = state[5], g = state[6], h = state[7];
    alignas(16) std::uint64_t wk[80];
    for (; count != 0; --count, p += 128) {
        const std::uint64_t saved[8] = {a, b, c, d, e, f, g, h};
        std::uint64_t x, y = b ^ c;
        // Words 2q and 2q+1 live in v[q % 8].
        U64x2 v[8];
#define s0_512(u) (((u) >> 1) ^ ((u) << 63) ^ ((u) >> 8) ^ ((u) << 56) ^ ((u) >> 7))
#define s1_512(u) (((u) >> 19) ^ ((u) << 45) ^ ((u) >> 61) ^ ((u) << 3) ^ ((u) >> 6))
#define W512_PAIR_LOAD(q)                                                                              \
    v[q] = loadPairBe(p + 16 * (q));                                                                   \
    {                                                                                                  \
        const U64x2 sum = v[q] + loadPair(K512 + 2 * (q));                                             \
        std::memcpy(wk + 2 * (q), &sum, sizeof sum);                                                   \
    }
#define W512_PAIR_NEXT(q)                                                                              \
    {                                                                                                  \
        v[(q) % 8] += s0_512(straddle(v[(q) % 8], v[((q) + 1) % 8]))                                   \
                      + straddle(v[((q) + 4) % 8], v[((q) + 5) % 8]) + s1_512(v[((q) + 7) % 8]);         \
        const U64x2 sum = v[(q) % 8] + loadPair(K512 + 2 * (q));                                       \
        std::memcpy(wk + 2 * (q), &sum, sizeof sum);                                                   \
    }
        // The barrier makes the rounds read wk from memory (an add with a memory operand)
        // rather than move each word out of a vector register, which costs the scalar units.
#define W512_FOUR_PAIRS(q)                                                                             \
    W512_PAIR_NEXT(q) W512_PAIR_NEXT((q) + 1) W512_PAIR_NEXT((q) + 2) W512_PAIR_NEXT((q) + 3)          \
    asm("" : : "r"(wk) : "memory")
#define S0_512(u) (std::rotr(u, 28) ^ std::rotr(u, 34) ^ std::rotr(u, 39))
#define S1_512(u) (std::rotr(u, 14) ^ std::rotr(u, 18) ^ std::rotr(u, 41))
#define KW512(t) wk[t]
        W512_PAIR_LOAD(0) W512_PAIR_LOAD(1) W512_PAIR_LOAD(2) W512_PAIR_LOAD(3)
        W512_PAIR_LOAD(4) W512_PAIR_LOAD(5) W512_PAIR_LOAD(6) W512_PAIR_LOAD(7)
        W512_FOUR_PAIRS(8);
        SHA2_EIGHT(0, KW512, S0_512, S1_512);
        W512_FOUR_PAIRS(12);
        SHA2_EIGHT(8, KW512, S0_512, S1_512);
        W512_FOUR_PAIRS(16);
        SHA2_EIGHT(16, KW512, S0_512, S1_512);
        W512_FOUR_PAIRS(20);
        SHA2_EIGHT(24, KW512, S0_512, S1_512);
        W512_FOUR_PAIRS(24);
        SHA2_EIGHT(32, KW512, S0_512, S1_512);
        W512_FOUR_PAIRS(28);
        SHA2_EIGHT(40, KW512, S0_512, S1_512);
        W512_FOUR_PAIRS(32);
        SHA2_EIGHT(48, KW512, S0_512, S1_512);
        W512_FOUR_PAIRS(36);
        SHA2_EIGHT(56, KW512, S0_512, S1_512);
        SHA2_EIGHT(64, KW512, S0_512, S1_512);
        SHA2_EIGHT(72, KW512, S0_512, S1_512);
#undef s0_512
#undef s1_512
#undef W512_PAIR_LOAD
#undef W512_PAIR_NEXT
#undef W512_FOUR_PAIRS
#undef S0_512
#undef S1_512
#undef KW512
        a += saved[0];
        b += saved[1];
        c += saved[2];
        d += saved[3];
        e += saved[4];
        f += saved[5];
        g += saved[6];
        h += saved[7];
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
    state[4] = e;
    state[5] = f;
    state[6] = g;
    state[7] = h;
}

void sha512CompressPortable(std::uint64_t state[8], const std::uint8_t *p, std::size_t count)
{
    sha512CompressBody(state, p, count);
}

#if VAULTBASE_X86
// The same code where rotations need no copy (rorx), "and not" is one instruction and
// vector instructions take three operands (AVX).
__attribute__((target("avx,bmi,bmi2"))) void sha512CompressAvxBmi(std::uint64_t state[8], const std::uint8_t *p,
                                                                  std::size_t count)
{
    sha512CompressBody(state, p, count);
}
#endif

#undef SHA2_ROUND
#undef SHA2_EIGHT

Sha256Digest::Compress chooseSha256(DigestEngine engine)
{
#if VAULTBASE_X86
    if (engine == DigestEngine::Fastest && cpuHasShaExtensions()) {
        return sha256CompressShaNi;
    }
#endif
    return sha256CompressPortable;
}

Sha512Digest::Compress chooseSha512(DigestEngine engine)
{
#if VAULTBASE_X86
    if (engine == DigestEngine::Fastest && cpuHasAvxBmi()) {
        return sha512CompressAvxBmi;
    }
#endif
    return sha512CompressPortable;
}

} // namespace

// --- SHA-224, SHA-256 ------------------------------------------------------------------

Sha256Digest::Sha256Digest(bool is224, DigestEngine engine) : m_is224(is224), m_compress(chooseSha256(engine))
{
    reset();
}

bool Sha256Digest::usesShaExtensions() const { return m_compress != sha256CompressPortable; }

void Sha256Digest::reset()
{
    std::memcpy(m_state, m_is224 ? Sha224Init : Sha256Init, sizeof m_state);
    m_buffer.reset();
}

void Sha256Digest::update(const void *data, std::size_t size)
{
    m_buffer.update(static_cast<const std::uint8_t *>(data), size,
                    [this](const std::uint8_t *blocks, std::size_t count) { m_compress(m_state, blocks, count); });
}

void Sha256Digest::final(unsigned char *out)
{
    m_buffer.pad(LengthOrder::BigEndian64,
                 [this](const std::uint8_t *blocks, std::size_t count) { m_compress(m_state, blocks, count); });
    for (int i = 0; i < digestSize() / 4; ++i) {
        store32be(out + 4 * i, m_state[i]);
    }
    reset();
}

// --- SHA-384, SHA-512 ------------------------------------------------------------------

Sha512Digest::Sha512Digest(bool is384, DigestEngine engine)
    : m_is384(is384),
      m_compress(chooseSha512(engine))
{
    reset();
}

void Sha512Digest::reset()
{
    std::memcpy(m_state, m_is384 ? Sha384Init : Sha512Init, sizeof m_state);
    m_buffer.reset();
}

void Sha512Digest::update(const void *data, std::size_t size)
{
    m_buffer.update(static_cast<const std::uint8_t *>(data), size,
                    [this](const std::uint8_t *blocks, std::size_t count) { m_compress(m_state, blocks, count); });
}

void Sha512Digest::final(unsigned char *out)
{
    m_buffer.pad(LengthOrder::BigEndian128,
                 [this](const std::uint8_t *blocks, std::size_t count) { m_compress(m_state, blocks, count); });
    for (int i = 0; i < digestSize() / 8; ++i) {
        store64be(out + 8 * i, m_state[i]);
    }
    reset();
}
