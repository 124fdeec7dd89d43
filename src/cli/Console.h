#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QIODevice;

// The terminal side of vaultbase-cli speaks UTF-8.
namespace Console {

// One line on standard error.
void error(const QString &message);

// Text (UTF-8) on standard error or standard output, as it is.
void printToStderr(const QString &text);
void printToStdout(const QString &text);

} // namespace Console

// Buffered output to a file descriptor (standard output by default), written with write(2)
// in large pieces. A failed write (a full disk, a closed pipe) is remembered: the caller
// checks ok() after flush() and reports a failure instead of success.
class OutputStream
{
public:
    explicit OutputStream(int fd = 1);
    // Output to a device instead (a file being written).
    explicit OutputStream(QIODevice &device);
    ~OutputStream();
    OutputStream(const OutputStream &) = delete;
    OutputStream &operator=(const OutputStream &) = delete;

    void write(QByteArrayView bytes);
    void put(char c)
    {
        if (m_buffer.size() == Capacity) {
            drain();
        }
        m_buffer.append(c);
    }
    // Writes what is buffered; false when any write failed.
    bool flush();
    bool ok() const { return m_ok; }

    static constexpr qsizetype Capacity = 64 * 1024;

private:
    void drain();
    void writeAll(const char *data, qsizetype size);

    int m_fd;
    QIODevice *m_device = nullptr;
    QByteArray m_buffer;
    bool m_ok = true;
};
