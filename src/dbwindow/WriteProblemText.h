#pragma once

#include "platform/SecretFile.h"

#include <QString>

class LanguageStore;

// Why a file could not be written, in the database window's words ("FrmChild."): the
// folder is missing or write-protected, the file is write-protected, or the disk.
QString writeProblemText(const LanguageStore &language, SecretFile::Failure failure);
