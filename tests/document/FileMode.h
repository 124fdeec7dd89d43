#pragma once

#include <QFile>
#include <QString>

#include <sys/stat.h>

namespace vaultbase::test {

// The permission bits of the file at path, or -1 when it cannot be examined.
inline int fileMode(const QString &path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777) : -1;
}

} // namespace vaultbase::test
