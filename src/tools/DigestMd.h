#pragma once

#include "tools/Digest.h"
#include "tools/DigestBlock.h"

#include <cstdint>

// MD2 (RFC 1319): 16-byte blocks, a 48-byte state and a running checksum block.
class Md2Digest final : public Digest
{
public:
    Md2Digest() { reset(); }

    DigestAlgorithm algorithm() const override { return DigestAlgorithm::Md2; }
    int digestSize() const override { return 16; }
    int blockSize() const override { return 16; }
    void reset() override;
    void update(const void *data, std::size_t size) override;
    void final(unsigned char *out) override;
    using Digest::final;
    using Digest::update;

private:
    void compress(const std::uint8_t *blocks, std::size_t count);

    std::uint8_t m_state[48];
    std::uint8_t m_checksum[16];
    DigestBlock::Buffer<16> m_buffer;
};

// MD4 (RFC 1320).
class Md4Digest final : public Digest
{
public:
    Md4Digest() { reset(); }

    DigestAlgorithm algorithm() const override { return DigestAlgorithm::Md4; }
    int digestSize() const override { return 16; }
    int blockSize() const override { return 64; }
    void reset() override;
    void update(const void *data, std::size_t size) override;
    void final(unsigned char *out) override;
    using Digest::final;
    using Digest::update;

private:
    std::uint32_t m_state[4];
    DigestBlock::Buffer<64> m_buffer;
};

// MD5 (RFC 1321).
class Md5Digest final : public Digest
{
public:
    Md5Digest() { reset(); }

    DigestAlgorithm algorithm() const override { return DigestAlgorithm::Md5; }
    int digestSize() const override { return 16; }
    int blockSize() const override { return 64; }
    void reset() override;
    void update(const void *data, std::size_t size) override;
    void final(unsigned char *out) override;
    using Digest::final;
    using Digest::update;

private:
    std::uint32_t m_state[4];
    DigestBlock::Buffer<64> m_buffer;
};
