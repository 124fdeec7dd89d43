#pragma once

#include <QString>

// The file the program opens at start-up ("DefaultDB") as the options dialog takes it.
namespace StartupFile {

// An empty text stays empty; a relative name is made absolute against the current
// folder, so that the file found at the next start does not depend on where the
// program is started from.
QString resolve(const QString &typed);

} // namespace StartupFile
