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
            m_failure = errno == EACCES ? Failure::FolderNotWritable : Failure::FolderMissing;
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
        if (m_fd < 0) {
            const bool refused = errno == EACCES || errno == EPERM || errno == EROFS;
            m_failure = refused ? Failure::FolderNotWritable : Failure::WriteFailed;
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
    // Why no new file could be made (handle() < 0).
    Failure failure() const { return m_failure; }

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
    Failure m_failure = Failure::None;
};

bool fail(Failure *failure, Failure reason)
{
    if (failure) {
        *failure = reason;
    }
    return false;
}

bool writeAtomically(const QString &path, const Producer &produce, Failure *failure)
{
    if (failure) {
        *failure = Failure::None;
    }
    const QString target = finalPath(path);
    const QFileInfo old(target);
    // A folder is never replaced, nor a file its owner made read-only.
    if (target.isEmpty() || old.isDir() || (old.exists() && ::access(QFile::encodeName(target).constData(), W_OK) != 0)) {
        return fail(failure, Failure::FileNotWritable);
    }
    NewFile newFile(target);
    if (newFile.handle() < 0) {
        return fail(failure, newFile.failure());
    }
    QFile out;
    if (!out.open(newFile.handle(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
        return fail(failure, Failure::WriteFailed);
    }
    const bool produced = produce(out) && out.flush() && out.error() == QFileDevice::NoError;
    out.close();
    if (!produced || !newFile.commit()) {
        return fail(failure, Failure::WriteFailed);
    }
    return true;
}

} // namespace

bool write(const QString &path, QByteArrayView bytes, Failure *failure)
{
    return writeAtomically(path, [bytes](QIODevice &out) { return writeAll(out, bytes); }, failure);
}

bool write(const QString &path, const Producer &produce, Failure *failure)
{
    return writeAtomically(path, produce, failure);
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
