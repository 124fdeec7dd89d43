#pragma once

#include <QString>

// The instance record "Mutex.ini" in the storage folder: 8 bytes, little-endian, the
// running instance's handle (here its process id; -1 when none) and the one-instance
// flag (1 when "Only one program window" is checked).
class InstanceFile
{
public:
    static constexpr qint32 NoHandle = -1;

    explicit InstanceFile(const QString &path);

    const QString &path() const { return m_path; }

    // Reads the record. The flag counts as set only when it reads exactly 1, and the
    // handle is handed back only then; a missing or short file reads as no handle.
    // True when a handle is stored.
    bool read(qint32 *handle = nullptr);

    // Writes handle and flag.
    bool write(qint32 handle, bool oneInstance);

    // Writes no handle and keeps the flag last read or written.
    bool clear();

    // The flag last read or written.
    bool oneInstance() const { return m_oneInstance; }

private:
    QString m_path;
    bool m_oneInstance = false;
};
