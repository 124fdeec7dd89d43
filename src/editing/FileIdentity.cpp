#include "FileIdentity.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

struct Stamp
{
    qint64 size = -1;
    std::chrono::nanoseconds modified{0};
};

// Size and modification time to the nanosecond (QFileInfo stops at milliseconds, and two
// writes of one size within a millisecond must still differ).
bool stampOf(const QString &canonicalPath, Stamp &stamp)
{
    const std::filesystem::path path(QFile::encodeName(canonicalPath).toStdString());
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error) {
        return false;
    }
    const std::filesystem::file_time_type modified = std::filesystem::last_write_time(path, error);
    if (error) {
        return false;
    }
    stamp.size = qint64(size);
    stamp.modified = std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch());
    return true;
}

} // namespace

FileIdentity FileIdentity::of(const QString &path)
{
    FileIdentity identity;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    Stamp stamp;
    if (canonical.isEmpty() || !stampOf(canonical, stamp)) {
        return identity;
    }
    identity.m_path = canonical;
    identity.m_size = stamp.size;
    identity.m_modified = stamp.modified;
    return identity;
}

bool FileIdentity::changedOnDisk(const QString &path) const
{
    if (!isKnown() || QFileInfo(path).canonicalFilePath() != m_path) {
        return false;
    }
    Stamp now;
    if (!stampOf(m_path, now)) {
        return false;
    }
    return now.size != m_size || now.modified != m_modified;
}
