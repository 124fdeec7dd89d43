#include "tools/DigestSha3.h"

#include "tools/CpuFeatures.h"
#include "tools/DigestBlock.h"

#include <bit>
#include <cstring>

using namespace DigestBlock;

namespace {

constexpr std::uint64_t RoundConstants[24] = {
    0x0000000000000001, 0x0000000000008082, 0x800000000000808a, 0x8000000080008000,
    0x000000000000808b, 0x0000000080000001, 0x8000000080008081, 0x8000000000008009,
    0x000000000000008a, 0x0000000000000088, 0x0000000080008009, 0x000000008000000a,
    0x000000008000808b, 0x800000000000008b, 0x8000000000008089, 0x8000000000008003,
    0x8000000000008002, 0x8000000000000080, 0x000000000000800a, 0x800000008000000a,
    0x8000000080008081, 0x8000000000008080, 0x0000000080000001, 0x8000000080008008,
};

// Lane names: row b, g, k, m, s (y = 0..4), column a, e, i, o, u (x = 0..4); lane (x, y)
// sits at index x + 5y of the stored state.
#define KECCAK_LANES(P)                                                                                \
    std::uint64_t P##ba, P##be, P##bi, P##bo, P##bu, P##ga, P##ge, P##gi, P##go, P##gu, P##ka, P##ke,  \
        P##ki, P##ko, P##ku, P##ma, P##me, P##mi, P##mo, P##mu, P##sa, P##se, P##si, P##so, P##su

// One output row of rho, pi and chi: B0..B4 are the rotated lanes that pi moves into row
// y, chi mixes them into the row of the next state.
#define KECCAK_CHI_ROW(E, row)                                                                         \
    E##row##a = B0 ^ (~B1 & B2);                                                                       \
    E##row##e = B1 ^ (~B2 & B3);                                                                       \
    E##row##i = B2 ^ (~B3 & B4);                                                                       \
    E##row##o = B3 ^ (~B4 & B0);                                                                       \
    E##row##u = B4 ^ (~B0 & B1)

// One round from the lanes A.. into the lanes E..: theta, rho and pi, chi, iota.
#define KECCAK_ROUND(A, E, rc)                                                                         \
    {                                                                                                  \
        const std::uint64_t Ca = A##ba ^ A##ga ^ A##ka ^ A##ma ^ A##sa;                                \
        const std::uint64_t Ce = A##be ^ A##ge ^ A##ke ^ A##me ^ A##se;                                \
        const std::uint64_t Ci = A##bi ^ A##gi ^ A##ki ^ A##mi ^ A##si;                                \
        const std::uint64_t Co = A##bo ^ A##go ^ A##ko ^ A##mo ^ A##so;                                \
        const std::uint64_t Cu = A##bu ^ A##gu ^ A##ku ^ A##mu ^ A##su;                                \
        const std::uint64_t Da = Cu ^ std::rotl(Ce, 1);                                                \
        const std::uint64_t De = Ca ^ std::rotl(Ci, 1);                                                \
        const std::uint64_t Di = Ce ^ std::rotl(Co, 1);                                                \
        const std::uint64_t Do = Ci ^ std::rotl(Cu, 1);                                                \
        const std::uint64_t Du = Co ^ std::rotl(Ca, 1);                                                \
        std::uint64_t B0 = A##ba ^ Da;                                                                 \
        std::uint64_t B1 = std::rotl(A##ge ^ De, 44);                                                  \
        std::uint64_t B2 = std::rotl(A##ki ^ Di, 43);                                                  \
        std::uint64_t B3 = std::rotl(A##mo ^ Do, 21);                                                  \
        std::uint64_t B4 = std::rotl(A##su ^ Du, 14);                                                  \
        KECCAK_CHI_ROW(E, b);                                                                          \
        E##ba ^= (rc);                                                                                 \
        B0 = std::rotl(A##bo ^ Do, 28);                                                                \
        B1 = std::rotl(A##gu ^ Du, 20);                                                                \
        B2 = std::rotl(A##ka ^ Da, 3);                                                                 \
        B3 = std::rotl(A##me ^ De, 45);                                                                \
        B4 = std::rotl(A##si ^ Di, 61);                                                                \
        KECCAK_CHI_ROW(E, g);                                                                          \
        B0 = std::rotl(A##be ^ De, 1);                                                                 \
        B1 = std::rotl(A##gi ^ Di, 6);                                                                 \
        B2 = std::rotl(A##ko ^ Do, 25);                                                                \
        B3 = std::rotl(A##mu ^ Du, 8);                                                                 \
        B4 = std::rotl(A##sa ^ Da, 18);                                                                \
        KECCAK_CHI_ROW(E, k);                                                                          \
        B0 = std::rotl(A##bu ^ Du, 27);                                                                \
        B1 = std::rotl(A##ga ^ Da, 36);                                                                \
        B2 = std::rotl(A##ke ^ De, 10);                                                                \
        B3 = std::rotl(A##mi ^ Di, 15);                                                                \
        B4 = std::rotl(A##so ^ Do, 56);                                                                \
        KECCAK_CHI_ROW(E, m);                                                                          \
        B0 = std::rotl(A##bi ^ Di, 62);                                                                \
        B1 = std::rotl(A##go ^ Do, 55);                                                                \
        B2 = std::rotl(A##ku ^ Du, 39);                                                                \
        B3 = std::rotl(A##ma ^ Da, 41);                                                                \
        B4 = std::rotl(A##se ^ De, 2);                                                                 \
        KECCAK_CHI_ROW(E, s);                                                                          \
    }

// XORs count blocks of rateLanes lanes into the state, each followed by Keccak-f[1600].
// The 25 lanes stay in local variables across all the blocks.
[[gnu::always_inline]] inline void keccakAbsorbBody(std::uint64_t lanes[25], const std::uint8_t *p,
                                                    std::size_t count, int rateLanes)
{
    KECCAK_LANES(A);
    KECCAK_LANES(E);
    Aba = lanes[0], Abe = lanes[1], Abi = lanes[2], Abo = lanes[3], Abu = lanes[4];
    Aga = lanes[5], Age = lanes[6], Agi = lanes[7], Ago = lanes[8], Agu = lanes[9];
    Aka = lanes[10], Ake = lanes[11], Aki = lanes[12], Ako = lanes[13], Aku = lanes[14];
    Ama = lanes[15], Ame = lanes[16], Ami = lanes[17], Amo = lanes[18], Amu = lanes[19];
    Asa = lanes[20], Ase = lanes[21], Asi = lanes[22], Aso = lanes[23], Asu = lanes[24];

    for (; count != 0; --count, p += 8 * rateLanes) {
        // The rates of the four digests are 9, 13, 17 and 18 lanes.
        Aba ^= load64le(p), Abe ^= load64le(p + 8), Abi ^= load64le(p + 16), Abo ^= load64le(p + 24);
        Abu ^= load64le(p + 32), Aga ^= load64le(p + 40), Age ^= load64le(p + 48), Agi ^= load64le(p + 56);
        Ago ^= load64le(p + 64);
        if (rateLanes > 9) {
            Agu ^= load64le(p + 72), Aka ^= load64le(p + 80), Ake ^= load64le(p + 88), Aki ^= load64le(p + 96);
            if (rateLanes > 13) {
                Ako ^= load64le(p + 104), Aku ^= load64le(p + 112), Ama ^= load64le(p + 120);
                Ame ^= load64le(p + 128);
                if (rateLanes > 17) {
                    Ami ^= load64le(p + 136);
                }
            }
        }
#pragma GCC unroll 12
        for (int round = 0; round < 24; round += 2) {
            KECCAK_ROUND(A, E, RoundConstants[round]);
            KECCAK_ROUND(E, A, RoundConstants[round + 1]);
        }
    }

    lanes[0] = Aba, lanes[1] = Abe, lanes[2] = Abi, lanes[3] = Abo, lanes[4] = Abu;
    lanes[5] = Aga, lanes[6] = Age, lanes[7] = Agi, lanes[8] = Ago, lanes[9] = Agu;
    lanes[10] = Aka, lanes[11] = Ake, lanes[12] = Aki, lanes[13] = Ako, lanes[14] = Aku;
    lanes[15] = Ama, lanes[16] = Ame, lanes[17] = Ami, lanes[18] = Amo, lanes[19] = Amu;
    lanes[20] = Asa, lanes[21] = Ase, lanes[22] = Asi, lanes[23] = Aso, lanes[24] = Asu;
}

void keccakAbsorbPortable(std::uint64_t lanes[25], const std::uint8_t *p, std::size_t count, int rateLanes)
{
    keccakAbsorbBody(lanes, p, count, rateLanes);
}

#if VAULTBASE_X86
// The same rounds where chi's "and not" is one instruction (andn) and rotations need no
// copy (rorx).
__attribute__((target("bmi,bmi2"))) void keccakAbsorbBmi(std::uint64_t lanes[25], const std::uint8_t *p,
                                                         std::size_t count, int rateLanes)
{
    keccakAbsorbBody(lanes, p, count, rateLanes);
}
#endif

Sha3Digest::Absorb chooseAbsorb(DigestEngine engine)
{
#if VAULTBASE_X86
    if (engine == DigestEngine::Fastest && cpuHasAvxBmi()) {
        return keccakAbsorbBmi;
    }
#endif
    return keccakAbsorbPortable;
}

#undef KECCAK_LANES
#undef KECCAK_CHI_ROW
#undef KECCAK_ROUND

} // namespace

Sha3Digest::Sha3Digest(int digestBytes, DigestEngine engine)
    : m_digestSize(digestBytes),
      m_rate(200 - 2 * digestBytes),
      m_absorb(chooseAbsorb(engine))
{
    Q_ASSERT(digestBytes == 28 || digestBytes == 32 || digestBytes == 48 || digestBytes == 64);
    reset();
}

DigestAlgorithm Sha3Digest::algorithm() const
{
    switch (m_digestSize) {
    case 28:
        return DigestAlgorithm::Sha3_224;
    case 32:
        return DigestAlgorithm::Sha3_256;
    case 48:
        return DigestAlgorithm::Sha3_384;
    default:
        return DigestAlgorithm::Sha3_512;
    }
}

void Sha3Digest::reset()
{
    std::memset(m_lanes, 0, sizeof m_lanes);
    m_used = 0;
}

void Sha3Digest::absorb(const std::uint8_t *blocks, std::size_t count)
{
    m_absorb(m_lanes, blocks, count, m_rate / 8);
}

void Sha3Digest::update(const void *data, std::size_t size)
{
    if (size == 0) {
        return; // data may be null
    }
    const auto *p = static_cast<const std::uint8_t *>(data);
    const std::size_t rate = std::size_t(m_rate);
    if (m_used != 0) {
        const std::size_t take = std::min(rate - m_used, size);
        std::memcpy(m_block + m_used, p, take);
        m_used += take;
        p += take;
        size -= take;
        if (m_used < rate) {
            return;
        }
        absorb(m_block, 1);
        m_used = 0;
    }
    const std::size_t whole = size / rate;
    if (whole != 0) {
        absorb(p, whole);
        p += whole * rate;
        size -= whole * rate;
    }
    std::memcpy(m_block, p, size);
    m_used = size;
}

void Sha3Digest::final(unsigned char *out)
{
    // SHA-3 domain bits 01, then the pad10*1 rule: 0x06 first, 0x80 ORed into the last byte
    // (both in one byte when only one is left).
    std::memset(m_block + m_used, 0, std::size_t(m_rate) - m_used);
    m_block[m_used] = 0x06;
    m_block[m_rate - 1] |= 0x80;
    absorb(m_block, 1);
    // The digest is never longer than the rate, so one squeeze suffices.
    for (int i = 0; i < m_digestSize; i += 8) {
        std::uint8_t lane[8];
        store64le(lane, m_lanes[i / 8]);
        std::memcpy(out + i, lane, std::size_t(std::min(8, m_digestSize - i)));
    }
    reset();
}
