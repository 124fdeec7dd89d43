#include "SecretLine.h"

#include "platform/SecureMemory.h"

#include <cerrno>
#include <unistd.h>

namespace {

void growWiping(QByteArray &buffer)
{
    QByteArray bigger;
    bigger.reserve(buffer.capacity() * 2);
    bigger.append(buffer);
    SecureMemory::wipe(buffer.data(), size_t(buffer.capacity()));
    buffer.swap(bigger);
}

} // namespace

std::optional<QByteArray> readSecretLine(int fd, qsizetype maxLength)
{
    QByteArray line;
    line.reserve(256);
    bool sawAnything = false;
    for (;;) {
        char c = 0;
        const ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 || (got == 0 && !sawAnything) || line.size() > maxLength) {
            SecureMemory::wipe(line.data(), size_t(line.capacity()));
            return std::nullopt;
        }
        if (got == 0 || c == '\n') {
            break;
        }
        sawAnything = true;
        if (line.size() == line.capacity()) {
            growWiping(line);
        }
        line.append(c);
    }
    if (line.endsWith('\r')) {
        line.chop(1);
    }
    return line;
}
