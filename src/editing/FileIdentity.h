#pragma once

#include <QString>

#include <chrono>

// What a database window knows of its file: the size and modification time the file had
// when the window read or last wrote it. Before writing over it, the window asks whether
// another program changed it meanwhile (a second copy of the program, a synchronisation
// tool), so that one save does not silently drop the other's changes.
class FileIdentity
{
public:
    // Nothing known: no file was read or written yet.
    FileIdentity() = default;

    // The file at path as it is now; nothing known when there is none.
    static FileIdentity of(const QString &path);

    bool isKnown() const { return !m_path.isEmpty(); }

    // True when path names the remembered file and its size or modification time differ
    // from what was remembered. A file never known, another file, or one that is gone has
    // nothing that writing could overwrite unseen.
    bool changedOnDisk(const QString &path) const;

private:
    QString m_path; // canonical
    qint64 m_size = -1;
    std::chrono::nanoseconds m_modified{0};
};
