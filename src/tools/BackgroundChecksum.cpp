#include "BackgroundChecksum.h"

#include "tools/FileChecksum.h"

#include <QThread>

BackgroundChecksum::BackgroundChecksum(QObject *parent) : QObject(parent)
{
}

BackgroundChecksum::~BackgroundChecksum()
{
    cancel();
    for (QThread *worker : std::as_const(m_workers)) {
        worker->wait();
        delete worker;
    }
}

void BackgroundChecksum::start(const QString &filePath, DigestAlgorithm algorithm)
{
    cancel();
    const quint64 run = ++m_run;
    m_running = true;
    auto cancelled = std::make_shared<std::atomic_bool>(false);
    m_cancel = cancelled;
    QThread *worker = QThread::create([this, run, cancelled, filePath, algorithm] {
        const QString digest = checksum(filePath, algorithm, [this, run, cancelled](qint64 done, qint64 total) {
            if (cancelled->load()) {
                return false;
            }
            QMetaObject::invokeMethod(this, [this, run, done, total] { deliverProgress(run, done, total); },
                                      Qt::QueuedConnection);
            return true;
        });
        if (!cancelled->load()) {
            QMetaObject::invokeMethod(this, [this, run, digest] { deliverResult(run, digest); }, Qt::QueuedConnection);
        }
    });
    // A worker that has ended is freed; the destructor waits for the others.
    connect(worker, &QThread::finished, this, [this, worker] {
        if (m_workers.removeOne(worker)) {
            worker->wait(); // finished comes just before the thread's very end
            delete worker;
        }
    });
    m_workers.append(worker);
    worker->start(QThread::LowPriority);
}

void BackgroundChecksum::cancel()
{
    if (m_cancel) {
        m_cancel->store(true);
        m_cancel.reset();
    }
    ++m_run; // anything still queued from the abandoned run is dropped
    m_running = false;
}

void BackgroundChecksum::deliverProgress(quint64 run, qint64 done, qint64 total)
{
    if (run == m_run) {
        emit progress(done, total);
    }
}

void BackgroundChecksum::deliverResult(quint64 run, const QString &checksum)
{
    if (run != m_run) {
        return;
    }
    m_running = false;
    m_cancel.reset();
    emit finished(checksum);
}
