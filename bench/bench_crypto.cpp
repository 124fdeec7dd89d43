// Blowfish throughput of ours next to libcrypto's BF_ecb_encrypt on the same 16 MiB
// buffer, encrypting and decrypting, plus the cost of one key schedule.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/blowfish.h>

#include "document/Blowfish.h"

#include <benchmark/benchmark.h>

#include <QByteArray>

namespace {

constexpr qsizetype BufferSize = 16 * 1024 * 1024;
const QByteArray Key("a database password of some length");

QByteArray sampleBuffer()
{
    QByteArray buffer(BufferSize, Qt::Uninitialized);
    for (qsizetype i = 0; i < buffer.size(); ++i) {
        buffer[i] = char((i * 131 + 7) & 0xFF);
    }
    return buffer;
}

void oursEncrypt(benchmark::State &state)
{
    QByteArray buffer = sampleBuffer();
    const Blowfish cipher(Key);
    for (auto _ : state) {
        cipher.encrypt(buffer.data(), buffer.size());
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * buffer.size());
}

void oursDecrypt(benchmark::State &state)
{
    QByteArray buffer = sampleBuffer();
    const Blowfish cipher(Key);
    for (auto _ : state) {
        cipher.decrypt(buffer.data(), buffer.size());
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * buffer.size());
}

void libcryptoRun(benchmark::State &state, int direction)
{
    QByteArray buffer = sampleBuffer();
    BF_KEY schedule;
    BF_set_key(&schedule, int(Key.size()), reinterpret_cast<const unsigned char *>(Key.constData()));
    auto *bytes = reinterpret_cast<unsigned char *>(buffer.data());
    for (auto _ : state) {
        for (qsizetype i = 0; i < buffer.size(); i += 8) {
            BF_ecb_encrypt(bytes + i, bytes + i, &schedule, direction);
        }
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * buffer.size());
}

void libcryptoEncrypt(benchmark::State &state)
{
    libcryptoRun(state, BF_ENCRYPT);
}

void libcryptoDecrypt(benchmark::State &state)
{
    libcryptoRun(state, BF_DECRYPT);
}

void oursKeySchedule(benchmark::State &state)
{
    for (auto _ : state) {
        Blowfish cipher(Key);
        benchmark::DoNotOptimize(&cipher);
    }
}

void libcryptoKeySchedule(benchmark::State &state)
{
    BF_KEY schedule;
    for (auto _ : state) {
        BF_set_key(&schedule, int(Key.size()), reinterpret_cast<const unsigned char *>(Key.constData()));
        benchmark::DoNotOptimize(&schedule);
    }
}

} // namespace

BENCHMARK(oursEncrypt)->Unit(benchmark::kMillisecond);
BENCHMARK(libcryptoEncrypt)->Unit(benchmark::kMillisecond);
BENCHMARK(oursDecrypt)->Unit(benchmark::kMillisecond);
BENCHMARK(libcryptoDecrypt)->Unit(benchmark::kMillisecond);
BENCHMARK(oursKeySchedule)->Unit(benchmark::kMicrosecond);
BENCHMARK(libcryptoKeySchedule)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
