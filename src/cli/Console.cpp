#include "Console.h"

#include "platform/SecureMemory.h"

#include <QIODevice>

#include <cerrno>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace Console {

void printToStderr(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

void printToStdout(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void error(const QString &message)
{
    printToStderr(message + u'\n');
}

} // namespace Console

OutputStream::OutputStream(int fd) : m_fd(fd)
{
    m_buffer.reserve(Capacity);
}

OutputStream::OutputStream(QIODevice &device) : m_fd(-1), m_device(&device)
{
    m_buffer.reserve(Capacity);
}

OutputStream::~OutputStream()
{
    flush();
    // The buffer held element texts and passwords of the database being written out.
    SecureMemory::wipe(m_buffer.data(), size_t(m_buffer.capacity()));
}

void OutputStream::write(QByteArrayView bytes)
{
    if (m_buffer.size() + bytes.size() > Capacity) {
        drain();
    }
    if (bytes.size() >= Capacity) {
        writeAll(bytes.data(), bytes.size());
        return;
    }
    m_buffer.append(bytes);
}

bool OutputStream::flush()
{
    drain();
    return m_ok;
}

void OutputStream::drain()
{
    writeAll(m_buffer.constData(), m_buffer.size());
    // Same capacity, no reallocation: the buffer stays the one block the destructor wipes.
    m_buffer.resize(0);
}

void OutputStream::writeAll(const char *data, qsizetype size)
{
    while (m_ok && size > 0) {
        if (m_device) {
            const qint64 written = m_device->write(data, size);
            m_ok = written > 0;
            data += std::max<qint64>(written, 0);
            size -= std::max<qint64>(written, 0);
            continue;
        }
        const ssize_t written = ::write(m_fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            m_ok = false;
            return;
        }
        data += written;
        size -= written;
    }
}
