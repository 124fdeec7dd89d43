#include "ExitCleanup.h"

#include "InstanceFile.h"
#include "TempFiles.h"

namespace ExitCleanup {

void run(const QString &storageFolder, bool deleteTempFiles, TempFiles &tempFiles, InstanceFile &record,
         qint32 handle, bool oneInstance)
{
    if (deleteTempFiles) {
        TempFiles::sweep(storageFolder);
    }
    tempFiles.deleteListed();
    record.write(handle, oneInstance);
    record.clear();
}

} // namespace ExitCleanup
