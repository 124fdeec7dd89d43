#pragma once

#include "tools/Digest.h"

#include <cstdint>

// SHA3-224, SHA3-256, SHA3-384 and SHA3-512 (FIPS 202): the Keccak-f[1600] sponge with a
// rate of 200 - 2 x digest size bytes and the SHA-3 domain padding.
class Sha3Digest final : public Digest
{
public:
    // digestBytes is 28, 32, 48 or 64.
    explicit Sha3Digest(int digestBytes, DigestEngine engine = DigestEngine::Fastest);

    DigestAlgorithm algorithm() const override;
    int digestSize() const override { return m_digestSize; }
    int blockSize() const override { return m_rate; }
    void reset() override;
    void update(const void *data, std::size_t size) override;
    void final(unsigned char *out) override;
    using Digest::final;
    using Digest::update;

    using Absorb = void (*)(std::uint64_t lanes[25], const std::uint8_t *blocks, std::size_t count, int rateLanes);

private:
    void absorb(const std::uint8_t *blocks, std::size_t count);

    int m_digestSize;
    int m_rate;
    Absorb m_absorb;
    std::uint64_t m_lanes[25];
    std::uint8_t m_block[144]; // the largest rate
    std::size_t m_used = 0;
};
