#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Where an export writes, from the file name the user chose: its folder, its name without
// folder and extension, and the extension with its dot in lower case (".htm", ".txt",
// or empty when the name has none).
struct ExportTarget {
    QString folder;
    QString baseName;
    QString extension;
};
ExportTarget exportTargetOf(const QString &chosenPath);

// A name used as one component of a path below the export folder: an element name as a
// sub-folder, or an attached file's stored name. A name that would leave the chosen folder
// or name no file ("." or "..", an empty name, one holding "/" or a NUL byte) is mended:
// "/" and NUL become "_", and ".", ".." and the empty name become "_". Other names pass
// unchanged (a "\" is an ordinary character here).
QByteArray safePathComponent(QByteArrayView name);

// The stored file name of an attached file without any folder part ("\" or "/").
QByteArray fileNameWithoutFolder(QByteArrayView storedName);
