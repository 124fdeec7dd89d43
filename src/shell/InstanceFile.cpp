#include "InstanceFile.h"

#include "platform/RegularFile.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

InstanceFile::InstanceFile(const QString &path) : m_path(path)
{
}

bool InstanceFile::read(qint32 *handle)
{
    qint32 stored = NoHandle;
    m_oneInstance = false;
    QFile file;
    if (RegularFile::open(file, m_path)) {
        char bytes[8];
        if (file.read(bytes, 8) == 8) {
            stored = qFromLittleEndian<qint32>(bytes);
            m_oneInstance = qFromLittleEndian<qint32>(bytes + 4) == 1;
        }
    }
    if (!m_oneInstance) {
        stored = NoHandle;
    }
    if (handle) {
        *handle = stored;
    }
    return stored != NoHandle;
}

bool InstanceFile::write(qint32 handle, bool oneInstance)
{
    m_oneInstance = oneInstance;
    char bytes[8];
    qToLittleEndian<qint32>(handle, bytes);
    qToLittleEndian<qint32>(oneInstance ? 1 : 0, bytes + 4);
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes, 8) != 8) {
        return false;
    }
    return file.commit();
}

bool InstanceFile::clear()
{
    return write(NoHandle, m_oneInstance);
}
