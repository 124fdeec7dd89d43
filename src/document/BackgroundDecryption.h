#pragma once

#include "Blowfish.h"

#include <QByteArrayView>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

// Decrypts a buffer in place in a worker thread, front to back, while the thread that
// made it reads the part already decrypted: a database is parsed as its plaintext
// appears. Blowfish in electronic-codebook mode decrypts every block on its own, so the
// worker can hand the buffer over chunk by chunk.
//
// The reading thread may touch only the first waitFor(...) bytes, and must not change
// them, until the object is gone. The buffer must outlive the object.
class BackgroundDecryption
{
public:
    // Buffers below this size are decrypted at once in the constructor: a thread would
    // cost more than it saves.
    static constexpr qsizetype ThreadedFrom = 1024 * 1024;
    // The worker reports progress in pieces of this size (a multiple of the block size).
    static constexpr qsizetype ChunkSize = 128 * 1024;

    // Starts decrypting the whole blocks of data[0, size) with key (not empty).
    BackgroundDecryption(char *data, qsizetype size, QByteArrayView key);
    // Stops the worker, leaving the rest ciphertext, and waits for it to finish.
    ~BackgroundDecryption();

    BackgroundDecryption(const BackgroundDecryption &) = delete;
    BackgroundDecryption &operator=(const BackgroundDecryption &) = delete;

    // Waits until the first end bytes (at most the whole blocks) are plaintext; returns
    // how many are, at least that many.
    qsizetype waitFor(qsizetype end);
    qsizetype size() const { return m_size; }

private:
    void run();

    const Blowfish m_cipher;
    char *const m_data;
    const qsizetype m_size; // whole blocks only
    std::atomic<qsizetype> m_done{0};
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::condition_variable m_progress;
    std::thread m_worker;
};
