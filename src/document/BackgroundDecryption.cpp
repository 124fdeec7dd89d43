#include "BackgroundDecryption.h"

#include <algorithm>
#include <system_error>

BackgroundDecryption::BackgroundDecryption(char *data, qsizetype size, QByteArrayView key)
    : m_cipher(key), m_data(data), m_size(std::max<qsizetype>(size, 0) / Blowfish::BlockSize * Blowfish::BlockSize)
{
    if (m_size >= ThreadedFrom) {
        try {
            m_worker = std::thread(&BackgroundDecryption::run, this);
            return;
        } catch (const std::system_error &) {
            // No thread to be had: decrypted here instead.
        }
    }
    m_cipher.decrypt(m_data, m_size);
    m_done.store(m_size, std::memory_order_release);
}

BackgroundDecryption::~BackgroundDecryption()
{
    if (m_worker.joinable()) {
        m_stop.store(true, std::memory_order_relaxed);
        m_worker.join();
    }
}

void BackgroundDecryption::run()
{
    for (qsizetype at = 0; at < m_size && !m_stop.load(std::memory_order_relaxed);) {
        const qsizetype piece = std::min(ChunkSize, m_size - at);
        m_cipher.decrypt(m_data + at, piece);
        at += piece;
        {
            // Stored under the mutex, so a reader between its test and its wait cannot
            // miss the notification.
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_done.store(at, std::memory_order_release);
        }
        m_progress.notify_one();
    }
}

qsizetype BackgroundDecryption::waitFor(qsizetype end)
{
    end = std::min(end, m_size);
    qsizetype done = m_done.load(std::memory_order_acquire);
    if (done >= end) {
        return done;
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    m_progress.wait(lock, [&] { return (done = m_done.load(std::memory_order_acquire)) >= end; });
    return done;
}
