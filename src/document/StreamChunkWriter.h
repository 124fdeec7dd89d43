#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtEndian>

#include <climits>
#include <cstring>
#include <functional>

// Writes the cells of a binary table stream (a 32-bit length, the text and a NUL; a bare
// 0 for an empty text) into a buffer, either the caller's, sized for the whole stream, or
// a small one of its own that is handed over each time it is full: then a stream of any
// length takes no more memory than one piece.
class StreamChunkWriter
{
public:
    // handle(chunk, size) receives the next size bytes of the stream at chunk, where there
    // is room for a whole piece; it may change them (encrypt them in place). Every piece
    // but the last is full. Returning false fails the writer.
    using Handler = std::function<bool(char *chunk, qsizetype size)>;

    // Pieces of chunkSize bytes in a buffer of the writer's own, wiped when it goes (it
    // held plaintext).
    StreamChunkWriter(qsizetype chunkSize, Handler handle);
    // Straight into buffer, which has room for exactly the whole stream.
    StreamChunkWriter(char *buffer, qsizetype size);
    ~StreamChunkWriter();

    StreamChunkWriter(const StreamChunkWriter &) = delete;
    StreamChunkWriter &operator=(const StreamChunkWriter &) = delete;

    void raw(QByteArrayView bytes);
    // A text cell; one too long for the 32-bit length fails the writer.
    void cell(QByteArrayView text)
    {
        // Most cells fit in the current piece: written at once.
        const qsizetype size = text.size();
        if (m_capacity - m_used < size + 5 || size >= INT_MAX) {
            splitCell(text);
            return;
        }
        qToLittleEndian(qint32(size), m_data + m_used);
        m_used += 4;
        if (size > 0) {
            std::memcpy(m_data + m_used, text.data(), size_t(size));
            m_used += size;
            m_data[m_used++] = '\0';
        }
    }
    void number(qint64 value);
    // Bytes as a stream cell: "<CT_STREAM>" and two lowercase hex digits per byte.
    void streamCell(QByteArrayView bytes);

    // Hands over what is left; true when nothing failed.
    bool finish();

private:
    void put(char c)
    {
        if (m_used == m_capacity) {
            flush();
        }
        m_data[m_used++] = c;
    }
    void length(qsizetype value);
    void splitCell(QByteArrayView text);
    void flush();

    QByteArray m_own;
    char *m_data;
    qsizetype m_capacity;
    qsizetype m_used = 0;
    Handler m_handle;
    bool m_failed = false;
};
