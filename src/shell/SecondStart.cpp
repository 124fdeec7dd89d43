#include "SecondStart.h"

#include "InstanceChannel.h"
#include "InstanceFile.h"
#include "StoragePaths.h"

namespace SecondStart {

Outcome check(const StoragePaths &paths, const QStringList &arguments, int timeoutMs)
{
    const QString storage = paths.storageFolder().folder;
    InstanceFile record(StoragePaths::instanceFile(storage));
    qint32 handle = InstanceFile::NoHandle;
    if (!record.read(&handle)) {
        return Outcome::Continue;
    }
    if (InstanceChannel::handOver(storage, handle, arguments, timeoutMs)) {
        return Outcome::HandedOver;
    }
    record.clear();
    return Outcome::Continue;
}

} // namespace SecondStart
