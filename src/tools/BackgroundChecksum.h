#pragma once

#include "tools/Digest.h"

#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QThread;

// A file's checksum computed on a worker thread, so that a window stays responsive while
// a large file is read. Progress and the result arrive as signals on the thread that
// started the computation. Starting again or cancelling abandons the computation under
// way: its result never arrives.
class BackgroundChecksum : public QObject
{
    Q_OBJECT

public:
    explicit BackgroundChecksum(QObject *parent = nullptr);
    // Cancels what runs and waits for the workers to stop (each stops within one chunk).
    ~BackgroundChecksum() override;

    void start(const QString &filePath, DigestAlgorithm algorithm);
    void cancel();
    bool isRunning() const { return m_running; }

signals:
    void progress(qint64 bytesDone, qint64 bytesTotal);
    // The lower-case hex digest; empty when the file cannot be read.
    void finished(const QString &checksum);

private:
    void deliverProgress(quint64 run, qint64 done, qint64 total);
    void deliverResult(quint64 run, const QString &checksum);

    quint64 m_run = 0;
    bool m_running = false;
    std::shared_ptr<std::atomic_bool> m_cancel;
    QList<QThread *> m_workers;
};
