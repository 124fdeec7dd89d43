#include "StreamChunkWriter.h"

#include "StreamCell.h"
#include "platform/SecureMemory.h"

#include <QtEndian>

#include <algorithm>
#include <climits>
#include <cstring>

StreamChunkWriter::StreamChunkWriter(qsizetype chunkSize, Handler handle)
    : m_own(chunkSize, Qt::Uninitialized), m_data(m_own.data()), m_capacity(chunkSize), m_handle(std::move(handle))
{
}

StreamChunkWriter::StreamChunkWriter(char *buffer, qsizetype size) : m_data(buffer), m_capacity(size) {}

StreamChunkWriter::~StreamChunkWriter()
{
    SecureMemory::wipe(m_own);
}

void StreamChunkWriter::flush()
{
    if (!m_handle) {
        // The caller's buffer was meant to hold everything: more is a failure, and the
        // rest goes to a scratch buffer instead of over the stream's start.
        m_failed = true;
        if (m_own.isEmpty()) {
            m_own = QByteArray(4096, Qt::Uninitialized);
            m_data = m_own.data();
            m_capacity = m_own.size();
        }
    } else if (!m_failed && !m_handle(m_data, m_used)) {
        m_failed = true;
    }
    m_used = 0;
}

void StreamChunkWriter::raw(QByteArrayView bytes)
{
    const char *next = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        if (m_used == m_capacity) {
            flush();
        }
        const qsizetype piece = std::min(left, m_capacity - m_used);
        std::memcpy(m_data + m_used, next, size_t(piece));
        m_used += piece;
        next += piece;
        left -= piece;
    }
}

void StreamChunkWriter::length(qsizetype value)
{
    if (value >= INT_MAX) {
        m_failed = true;
    }
    char bytes[4];
    qToLittleEndian(qint32(value), bytes);
    raw(QByteArrayView(bytes, 4));
}

void StreamChunkWriter::splitCell(QByteArrayView text)
{
    length(text.size());
    if (!text.isEmpty()) {
        raw(text);
        put('\0');
    }
}

void StreamChunkWriter::number(qint64 value)
{
    char digits[24];
    char *end = digits + sizeof digits;
    char *first = end;
    quint64 rest = value < 0 ? 0 - quint64(value) : quint64(value);
    do {
        *--first = char('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (value < 0) {
        *--first = '-';
    }
    cell(QByteArrayView(first, end - first));
}

void StreamChunkWriter::streamCell(QByteArrayView bytes)
{
    static constexpr char hex[] = "0123456789abcdef";
    length(StreamCell::Tag.size() + 2 * bytes.size());
    raw(StreamCell::Tag);
    const auto *next = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *end = next + bytes.size();
    while (next != end) {
        // As many bytes as the piece has room for in one run; a byte whose digits would
        // straddle two pieces goes digit by digit.
        const qsizetype run = std::min<qsizetype>((m_capacity - m_used) / 2, end - next);
        char *out = m_data + m_used;
        for (const unsigned char *stop = next + run; next != stop; ++next) {
            *out++ = hex[*next >> 4];
            *out++ = hex[*next & 0x0F];
        }
        m_used += 2 * run;
        if (run == 0) {
            put(hex[*next >> 4]);
            put(hex[*next & 0x0F]);
            ++next;
        }
    }
    put('\0');
}

bool StreamChunkWriter::finish()
{
    if (m_handle && !m_failed && !m_handle(m_data, m_used)) {
        m_failed = true;
    }
    m_used = 0;
    return !m_failed;
}
