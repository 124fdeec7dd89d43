#pragma once

#include "tools/Digest.h"
#include "tools/DigestBlock.h"

#include <cstdint>

// SHA-1 (FIPS 180-4), on the processor's SHA extensions when present.
class Sha1Digest final : public Digest
{
public:
    explicit Sha1Digest(DigestEngine engine = DigestEngine::Fastest);

    DigestAlgorithm algorithm() const override { return DigestAlgorithm::Sha1; }
    int digestSize() const override { return 20; }
    int blockSize() const override { return 64; }
    void reset() override;
    void update(const void *data, std::size_t size) override;
    void final(unsigned char *out) override;
    using Digest::final;
    using Digest::update;

    bool usesShaExtensions() const;

    using Compress = void (*)(std::uint32_t state[5], const std::uint8_t *blocks, std::size_t count);

private:
    Compress m_compress;
    std::uint32_t m_state[5];
    DigestBlock::Buffer<64> m_buffer;
};
