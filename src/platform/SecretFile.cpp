#include "SecretFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

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

// The file a write replaces: a symbolic link at the path is followed, so the file it
// points to is replaced and the link stays.
QString finalPath(const QString &path)
{
    QFileInfo info(path);
    for (int hops = 0; hops < 64 && info.isSymLink(); ++hops) {
        info.setFile(info.symLinkTarget());
    }
    return info.filePath();
}

// The new content is written to a file of its own in the target's folder and renamed over
// the target only once every byte of it is on the disk: a crash, a kill or a full disk at
// any moment leaves the old file (or no file, where there was none), never a part of the
// new one and never an empty one. The new file is made owner-only before a byte is written.
//
// Where the system allows it, the new file has no name while it is written (O_TMPFILE):
// a killed save leaves nothing behind. It is given the fixed name ".NAME.vaultbase-save"
// just before the rename; a name left by a save killed in that instant is taken over by
// the next save. Elsewhere it is written under a random name from the start.
class NewFile
{
public:
    explicit NewFile(const QString &target)
    {
        const QFileInfo info(target);
        m_folder = QFile::encodeName(info.absolutePath());
        m_name = QFile::encodeName(info.fileName());
        m_dir = ::open(m_folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_dir < 0 || m_name.isEmpty()) {
            return;
        }
        if (::access("/proc/self/fd", X_OK) == 0) {
            m_fd = ::openat(m_dir, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, OwnerOnly);
        }
        m_unnamed = m_fd >= 0;
        for (int attempt = 0; m_fd < 0 && attempt < 16; ++attempt) {
            m_tempName = '.' + m_name + ".vaultbase-"
                + QByteArray::number(QRandomGenerator::system()->generate64(), 36);
            m_fd = ::openat(m_dir, m_tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                            OwnerOnly);
        }
        // The umask may have taken bits away; the owner keeps exactly read and write.
        if (m_fd >= 0 && ::fchmod(m_fd, OwnerOnly) != 0) {
            discard();
        }
    }

    ~NewFile()
    {
        discard();
        if (m_dir >= 0) {
            ::close(m_dir);
        }
    }

    NewFile(const NewFile &) = delete;
    NewFile &operator=(const NewFile &) = delete;

    int handle() const { return m_fd; }

    // Puts the written file in the target's place once it is on the disk, and the rename
    // on the disk too.
    bool commit()
    {
        if (m_fd < 0 || ::fsync(m_fd) != 0 || !name()) {
            return false;
        }
        if (::renameat(m_dir, m_tempName.constData(), m_dir, m_name.constData()) != 0) {
            return false;
        }
        m_tempName.clear();
        ::close(std::exchange(m_fd, -1));
        return ::fsync(m_dir) == 0;
    }

private:
    bool name()
    {
        if (!m_unnamed) {
            return true;
        }
        m_tempName = '.' + m_name + ".vaultbase-save";
        if (::unlinkat(m_dir, m_tempName.constData(), 0) != 0 && errno != ENOENT) {
            m_tempName.clear();
            return false;
        }
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
        if (::linkat(AT_FDCWD, self.constData(), m_dir, m_tempName.constData(), AT_SYMLINK_FOLLOW) != 0) {
            m_tempName.clear();
            return false;
        }
        return true;
    }

    void discard()
    {
        if (m_fd >= 0) {
            ::close(std::exchange(m_fd, -1));
        }
        if (!m_tempName.isEmpty() && m_dir >= 0) {
            ::unlinkat(m_dir, m_tempName.constData(), 0);
            m_tempName.clear();
        }
    }

    QByteArray m_folder;
    QByteArray m_name;
    QByteArray m_tempName; // the new file's name in the folder while it has one
    int m_dir = -1;
    int m_fd = -1;
    bool m_unnamed = false;
};

bool writeAtomically(const QString &path, const Producer &produce, qint64 budget)
{
    const QString target = finalPath(path);
    const QFileInfo old(target);
    // A folder is never replaced, nor a file its owner made read-only.
    if (target.isEmpty() || old.isDir() || (old.exists() && ::access(QFile::encodeName(target).constData(), W_OK) != 0)) {
        return false;
    }
    NewFile newFile(target);
    if (newFile.handle() < 0) {
        return false;
    }
    QFile out;
    if (!out.open(newFile.handle(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
        return false;
    }
    bool produced = false;
    if (budget >= 0) {
        LimitedDevice limited(out, budget);
        produced = produce(limited);
    } else {
        produced = produce(out);
    }
    produced = produced && out.flush() && out.error() == QFileDevice::NoError;
    out.close();
    return produced && newFile.commit();
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

bool makeFolders(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        return true;
    }
    if (path.isEmpty() || info.exists() || info.isSymLink()) {
        return false;
    }
    const QString parent = info.absolutePath();
    if (parent != info.absoluteFilePath() && !makeFolders(parent)) {
        return false;
    }
    const QByteArray native = nativePath(info.absoluteFilePath());
    if (::mkdir(native.constData(), S_IRWXU) != 0) {
        return errno == EEXIST && QFileInfo(path).isDir();
    }
    // The umask may have taken bits away; the owner keeps exactly what it needs.
    return ::chmod(native.constData(), S_IRWXU) == 0;
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
