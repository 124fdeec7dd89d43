#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// Temporary copies of attached files, made in the storage folder when one is viewed,
// named "$$$kvdb_tmp_file$$$" + the time "yyyymmdd-hhnnss" + the file's extension.
// The list holds those made during the run; all of them go at exit, and the sweep
// removes leftovers of earlier forced shutdowns.
class TempFiles
{
public:
    static constexpr char Prefix[] = "$$$kvdb_tmp_file$$$";

    // The extension of a stored file name, with its dot: what follows the last dot of
    // the last name part, so that no separator can reach the temporary file's name.
    static QString extensionOf(const QString &fileName);

    static QString pathFor(const QString &storageFolder, const QDateTime &now, const QString &fileName);

    // Writes the bytes to a new temporary file readable and writable by its owner only;
    // the path, or empty on failure. The file is not listed yet: the caller lists it
    // once the viewer has taken it.
    static QString write(const QString &storageFolder, const QDateTime &now, const QString &fileName,
                         const QByteArray &bytes);

    void add(const QString &path);
    const QStringList &files() const { return m_files; }

    // Deletes every listed file; the number deleted. Files that cannot go are left.
    int deleteListed();

    // Deletes every file in the folder (not its sub-folders) whose name begins with the
    // prefix; the number deleted.
    static int sweep(const QString &storageFolder);

private:
    QStringList m_files;
};
