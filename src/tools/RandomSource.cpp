#include "RandomSource.h"

#include <QRandomGenerator>

CRandomSource::CRandomSource(quint32 seed) : m_state(seed)
{
    next();
}

int CRandomSource::next()
{
    m_state = m_state * 22695477u + 1u;
    return int((m_state >> 16) & 0x7FFF);
}

quint32 CRandomSource::index(quint32 poolSize)
{
    return quint32(next()) % poolSize;
}

quint32 SystemRandomSource::index(quint32 poolSize)
{
    return uniformIndex(poolSize, [] { return QRandomGenerator::system()->generate(); });
}

quint32 uniformIndex(quint32 poolSize, const std::function<quint32()> &draw32)
{
    // 2^32 mod poolSize values at the top of the range would favour the low indexes.
    const quint32 rejected = quint32(-poolSize) % poolSize;
    const quint32 limit = 0xFFFFFFFFu - rejected; // the last accepted draw
    for (;;) {
        const quint32 value = draw32();
        if (value <= limit) {
            return value % poolSize;
        }
    }
}
