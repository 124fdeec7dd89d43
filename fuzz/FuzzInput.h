#pragma once

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// The input of one run as a QByteArray of its own, so that a read past its end is a read
// past a heap block of exactly its size, which the address sanitizer reports.
inline QByteArray fuzzInput(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A property that must hold for every input: a finding when it does not.
inline void fuzzCheck(bool holds)
{
    if (!holds) {
        std::abort();
    }
}
