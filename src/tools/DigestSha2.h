#pragma once

#include "tools/Digest.h"
#include "tools/DigestBlock.h"

#include <cstdint>

// SHA-224 and SHA-256 (FIPS 180-4): one compression on 32-bit words, on the processor's
// SHA extensions when present; SHA-224 starts from other values and keeps 28 bytes.
class Sha256Digest final : public Digest
{
public:
    explicit Sha256Digest(bool is224 = false, DigestEngine engine = DigestEngine::Fastest);

    DigestAlgorithm algorithm() const override { return m_is224 ? DigestAlgorithm::Sha224 : DigestAlgorithm::Sha256; }
    int digestSize() const override { return m_is224 ? 28 : 32; }
    int blockSize() const override { return 64; }
    void reset() override;
    void update(const void *data, std::size_t size) override;
    void final(unsigned char *out) override;
    using Digest::final;
    using Digest::update;

    bool usesShaExtensions() const;

    using Compress = void (*)(std::uint32_t state[8], const std::uint8_t *blocks, std::size_t count);

private:
    bool m_is224;
    Compress m_compress;
    std::uint32_t m_state[8];
    DigestBlock::Buffer<64> m_buffer;
};

// SHA-384 and SHA-512 (FIPS 180-4): one compression on 64-bit words; SHA-384 starts from
// other values and keeps 48 bytes.
class Sha512Digest final : public Digest
{
public:
    explicit Sha512Digest(bool is384 = false, DigestEngine engine = DigestEngine::Fastest);

    DigestAlgorithm algorithm() const override { return m_is384 ? DigestAlgorithm::Sha384 : DigestAlgorithm::Sha512; }
    int digestSize() const override { return m_is384 ? 48 : 64; }
    int blockSize() const override { return 128; }
    void reset() override;
    void update(const void *data, std::size_t size) override;
    void final(unsigned char *out) override;
    using Digest::final;
    using Digest::update;

    using Compress = void (*)(std::uint64_t state[8], const std::uint8_t *blocks, std::size_t count);

private:
    bool m_is384;
    Compress m_compress;
    std::uint64_t m_state[8];
    DigestBlock::Buffer<128> m_buffer;
};
