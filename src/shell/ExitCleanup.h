#pragma once

#include <QtGlobal>

class InstanceFile;
class QString;
class TempFiles;

// What the program does last, after the settings have been saved: with
// "DeleteTempFiles" the leftovers of earlier forced shutdowns go from the storage
// folder, then every temporary file made during this run; the instance record is
// written with the program's handle and one-instance flag, then cleared (no handle,
// the flag kept), so a later start finds no running program.
namespace ExitCleanup {

void run(const QString &storageFolder, bool deleteTempFiles, TempFiles &tempFiles, InstanceFile &record,
         qint32 handle, bool oneInstance);

} // namespace ExitCleanup
