#include "RegularFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RegularFile {

namespace {

bool fail(Problem *problem, Problem reason)
{
    if (problem) {
        *problem = reason;
    }
    return false;
}

} // namespace

bool open(QFile &file, const QString &path, Problem *problem)
{
    if (problem) {
        *problem = Problem::None;
    }
    if (path.isEmpty()) {
        return fail(problem, Problem::Missing);
    }
    // Non-blocking, so a named pipe without a writer opens at once instead of waiting; the
    // opened file is then examined, and only a regular file is kept.
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return fail(problem, errno == ENOENT || errno == ENOTDIR ? Problem::Missing : Problem::Unreadable);
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return fail(problem, Problem::NotRegular);
    }
    // Regular files never block; the flag is cleared all the same, so reads behave as usual.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return fail(problem, Problem::Unreadable);
    }
    file.setFileName(path);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(problem, Problem::Unreadable);
    }
    return true;
}

std::optional<QByteArray> read(const QString &path, qint64 maxBytes, Problem *problem)
{
    QFile file;
    if (!open(file, path, problem)) {
        return std::nullopt;
    }
    const qint64 size = file.size();
    if (size > maxBytes) {
        fail(problem, Problem::TooLarge);
        return std::nullopt;
    }
    // Taken as it was measured: a file that grows meanwhile cannot push the read past the
    // bound (nor one that shrinks make it fail).
    QByteArray bytes = file.read(size);
    if (file.error() != QFileDevice::NoError) {
        fail(problem, Problem::Unreadable);
        return std::nullopt;
    }
    return bytes;
}

} // namespace RegularFile
