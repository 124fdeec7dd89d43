#include "SecretFile.h"

#include <QFile>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace SecretFile {

namespace {

constexpr mode_t OwnerOnly = S_IRUSR | S_IWUSR;

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

bool writeAll(QIODevice &out, QByteArrayView bytes)
{
    const char *next = bytes.data();
    qint64 left = bytes.size();
    while (left > 0) {
        const qint64 written = out.write(next, left);
        if (written <= 0) {
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

// Passes writes on to another device until a byte budget is spent, then fails them.
class LimitedDevice final : public QIODevice
{
public:
    LimitedDevice(QIODevice &target, qint64 budget) : m_target(target), m_budget(budget)
    {
        open(QIODevice::WriteOnly);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 allowed = std::min(size, m_budget);
        if (allowed <= 0) {
            return -1;
        }
        const qint64 written = m_target.write(data, allowed);
        if (written > 0) {
            m_budget -= written;
        }
        return written;
    }

private:
    QIODevice &m_target;
    qint64 m_budget;
};

// QSaveFile gives its new file the mode of the file it replaces, or 0666 less the umask
// when there is none; either may let others open the new file before its mode is
// narrowed. So before the new file exists, the path is made to hold an owner-only file:
// an existing file is narrowed, a missing one is created empty. Unless the write
// succeeds, that is undone, and the old file (or its absence) is as it was.
class OwnerOnlyTarget
{
public:
    explicit OwnerOnlyTarget(const QString &path) : m_path(nativePath(path))
    {
        struct stat old {};
        if (::stat(m_path.constData(), &old) == 0) {
            if (S_ISREG(old.st_mode) && (old.st_mode & 07777) != OwnerOnly
                && ::chmod(m_path.constData(), OwnerOnly) == 0) {
                m_oldMode = old.st_mode & 07777;
            }
            return;
        }
        const int fd = ::open(m_path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                              OwnerOnly);
        if (fd >= 0) {
            ::close(fd);
            m_createdEmpty = true;
        }
    }

    ~OwnerOnlyTarget()
    {
        if (m_kept) {
            return;
        }
        if (m_createdEmpty) {
            ::unlink(m_path.constData());
        } else if (m_oldMode >= 0) {
            ::chmod(m_path.constData(), mode_t(m_oldMode));
        }
    }

    OwnerOnlyTarget(const OwnerOnlyTarget &) = delete;
    OwnerOnlyTarget &operator=(const OwnerOnlyTarget &) = delete;

    void keep() { m_kept = true; }

private:
    QByteArray m_path;
    int m_oldMode = -1;
    bool m_createdEmpty = false;
    bool m_kept = false;
};

bool writeAtomically(const QString &path, const Producer &produce, qint64 budget)
{
    OwnerOnlyTarget target(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    // Whatever mode the new file was given, it is owner-only before any byte is written.
    if (file.handle() < 0 || ::fchmod(file.handle(), OwnerOnly) != 0) {
        file.cancelWriting();
        return false;
    }
    bool produced = false;
    if (budget >= 0) {
        LimitedDevice limited(file, budget);
        produced = produce(limited);
    } else {
        produced = produce(file);
    }
    if (!produced) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        return false;
    }
    target.keep();
    return true;
}

} // namespace

bool write(const QString &path, QByteArrayView bytes)
{
    return writeAtomically(path, [bytes](QIODevice &out) { return writeAll(out, bytes); }, -1);
}

bool write(const QString &path, const Producer &produce)
{
    return writeAtomically(path, produce, -1);
}

bool write(const QString &path, QByteArrayView bytes, FailingWrites failing)
{
    return writeAtomically(path, [bytes](QIODevice &out) { return writeAll(out, bytes); },
                           std::max<qint64>(failing.afterBytes, 0));
}

bool write(const QString &path, const Producer &produce, FailingWrites failing)
{
    return writeAtomically(path, produce, std::max<qint64>(failing.afterBytes, 0));
}

bool createNew(QFile &file, QIODevice::OpenMode mode)
{
    if (file.isOpen() || file.fileName().isEmpty()) {
        return false;
    }
    int access = O_WRONLY;
    if (mode.testFlag(QIODevice::ReadOnly)) {
        access = mode.testFlag(QIODevice::WriteOnly) ? O_RDWR : O_RDONLY;
    }
    const QByteArray native = nativePath(file.fileName());
    const int fd = ::open(native.constData(), access | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, OwnerOnly);
    if (fd < 0) {
        return false;
    }
    // The umask may have taken bits away; the owner keeps exactly read and write.
    if (::fchmod(fd, OwnerOnly) != 0
        || !file.open(fd, mode & ~QIODevice::Truncate, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        ::unlink(native.constData());
        return false;
    }
    return true;
}

} // namespace SecretFile
