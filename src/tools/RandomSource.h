#pragma once

#include <QtGlobal>

#include <functional>

// Where the password generator takes its random pool indexes from. The program draws
// from the operating system's secure source; the classic C-library generator stays as
// a deterministic source, so a known seed gives a known password.
class RandomSource
{
public:
    virtual ~RandomSource() = default;

    // An index from 0 to poolSize - 1 (poolSize > 0).
    virtual quint32 index(quint32 poolSize) = 0;
};

// The C library's rand(): a 32-bit state, state = state * 22695477 + 1 per draw, the
// draw being bits 16 to 30 of the new state. Seeding sets the state and advances it
// once. An index is the draw modulo the pool size, bias and all, as the old program
// computed it.
class CRandomSource final : public RandomSource
{
public:
    explicit CRandomSource(quint32 seed);

    int next(); // 0 to 32767
    quint32 index(quint32 poolSize) override;

private:
    quint32 m_state;
};

// The operating system's secure random source (QRandomGenerator::system()), every index
// exactly equally likely.
class SystemRandomSource final : public RandomSource
{
public:
    quint32 index(quint32 poolSize) override;
};

// An index from 0 to poolSize - 1 taken from uniform 32-bit draws without modulo bias:
// draws from the incomplete last block of poolSize values are rejected and drawn again.
quint32 uniformIndex(quint32 poolSize, const std::function<quint32()> &draw32);
