#pragma once

#include <QString>

// The folders the program works with, given explicitly so tests can point them
// anywhere. Every folder is kept as an absolute path ending in "/".
//  - program folder: where the executable lies; "SavePath.ini" is read from it;
//  - data folders: the program's data ("Languages.ini", the language files,
//    "License.txt", "ReadMe.txt") is looked for in the program folder first, then in
//    "../share/vaultbase/" beside it, where an installed program keeps it
//    (/usr/bin/vaultbase reads /usr/share/vaultbase/);
//  - per-user data base: the per-user data folder that "Brightway/Vaultbase/" goes in;
//  - common data base: the all-users data folder that holds "Brightway/Vaultbase/"
//    with the installation record.
class StoragePaths
{
public:
    StoragePaths(const QString &programFolder, const QString &userDataBase, const QString &commonDataBase);

    // The real folders: the executable's folder, the generic data location, and the
    // first system-wide data folder that can be written to (else the per-user one).
    static StoragePaths system();

    const QString &programFolder() const { return m_program; }
    QString userDataFolder() const { return m_userBase + QStringLiteral("Brightway/Vaultbase/"); }
    QString installationFolder() const { return m_commonBase + QStringLiteral("Brightway/Vaultbase/"); }

    QString savePathFile() const;
    QString languagesFile() const;
    QString licenseFile() const;
    QString readMeFile() const;
    QString installationFile() const;

    // A file named in "SavePath.ini", relative to the program folder unless absolute;
    // backslashes count as separators.
    QString inProgramFolder(const QString &name) const;

    // A data file (a language file named in "Languages.ini", say): the program folder's
    // when it exists there, else the share folder's when it exists there, else the
    // program folder's. Absolute names and backslashes as for inProgramFolder.
    QString dataFile(const QString &name) const;
    // "../share/vaultbase/" beside the program folder, made absolute.
    QString shareFolder() const;

    struct Storage
    {
        QString folder;        // absolute, ends in "/"
        bool fromSavePath = false;
    };

    // The storage folder: the existing folder that "SavePath.ini" names with
    // "ApplicationStorage" (absolute or relative to the program folder), else the
    // per-user folder, whose two levels are created when missing.
    Storage storageFolder() const;

    // Running on a carried database, the settings and the instance record live next
    // to the executable.
    Storage portableStorageFolder() const { return {m_program, false}; }

    // Files in the storage folder.
    static QString settingsFile(const QString &storageFolder);
    static QString instanceFile(const QString &storageFolder);

    // Adds the trailing "/" a folder path is kept with.
    static QString withSlash(const QString &folder);

private:
    QString m_program;
    QString m_userBase;
    QString m_commonBase;
};
