// Our digests next to libcrypto's EVP digests on one 64 MiB buffer. The pairs
// (Ours/Evp) for MD5, SHA-1, SHA-256, SHA-512 and SHA3-256 give the speed ratio; the
// other algorithms run ours alone (libcrypto has no MD2, and MD4 needs its legacy
// provider).
#include "tools/Digest.h"

#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr std::size_t BufferSize = std::size_t(64) << 20;

const std::vector<unsigned char> &buffer()
{
    static const std::vector<unsigned char> bytes = [] {
        std::vector<unsigned char> b(BufferSize);
        std::mt19937_64 rng(20240607);
        for (std::size_t i = 0; i < b.size(); i += 8) {
            const std::uint64_t v = rng();
            std::memcpy(b.data() + i, &v, 8);
        }
        return b;
    }();
    return bytes;
}

void ours(benchmark::State &state, DigestAlgorithm algorithm, DigestEngine engine)
{
    const auto &bytes = buffer();
    const std::unique_ptr<Digest> digest = Digest::create(algorithm, engine);
    unsigned char out[64];
    for (auto _ : state) {
        digest->update(bytes.data(), bytes.size());
        digest->final(out);
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
}

void evp(benchmark::State &state, const char *name)
{
    const auto &bytes = buffer();
    EVP_MD *md = EVP_MD_fetch(nullptr, name, nullptr);
    if (md == nullptr) {
        state.SkipWithError("libcrypto does not offer this digest");
        return;
    }
    EVP_MD_CTX *ctx = EVP_MD_CTX_new();
    unsigned char out[EVP_MAX_MD_SIZE];
    unsigned int outSize = 0;
    for (auto _ : state) {
        EVP_DigestInit_ex(ctx, md, nullptr);
        EVP_DigestUpdate(ctx, bytes.data(), bytes.size());
        EVP_DigestFinal_ex(ctx, out, &outSize);
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(bytes.size()));
    EVP_MD_CTX_free(ctx);
    EVP_MD_free(md);
}

constexpr auto Fastest = DigestEngine::Fastest;
constexpr auto Portable = DigestEngine::Portable;

} // namespace

BENCHMARK_CAPTURE(ours, Md5, DigestAlgorithm::Md5, Fastest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(evp, Md5, "MD5")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ours, Sha1, DigestAlgorithm::Sha1, Fastest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(evp, Sha1, "SHA1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ours, Sha256, DigestAlgorithm::Sha256, Fastest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(evp, Sha256, "SHA256")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ours, Sha512, DigestAlgorithm::Sha512, Fastest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(evp, Sha512, "SHA512")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ours, Sha3_256, DigestAlgorithm::Sha3_256, Fastest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(evp, Sha3_256, "SHA3-256")->Unit(benchmark::kMillisecond);

// The code for the plain x86-64 baseline, which runs where the processor lacks the SHA
// extensions (SHA-1, SHA-256) or AVX and BMI (SHA-512, SHA-3).
BENCHMARK_CAPTURE(ours, Sha1Portable, DigestAlgorithm::Sha1, Portable)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ours, Sha256Portable, DigestAlgorithm::Sha256, Portable)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ours, Sha512Portable, DigestAlgorithm::Sha512, Portable)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ours, Sha3_256Portable, DigestAlgorithm::Sha3_256, Portable)->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(ours, Md2, DigestAlgorithm::Md2, Fastest)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(ours, Md4, DigestAlgorithm::Md4, Fastest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ours, Sha224, DigestAlgorithm::Sha224, Fastest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ours, Sha384, DigestAlgorithm::Sha384, Fastest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ours, Sha3_224, DigestAlgorithm::Sha3_224, Fastest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ours, Sha3_384, DigestAlgorithm::Sha3_384, Fastest)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ours, Sha3_512, DigestAlgorithm::Sha3_512, Fastest)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
