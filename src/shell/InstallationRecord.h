#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

class Clock;
class StoragePaths;

// "Installation.ini": where the program is installed, its language list and settings
// file names, its version text and when it was installed.
namespace InstallationRecord {

// True when the file loads and its "Version" equals the given version text.
bool isCurrent(const QString &path, const QByteArray &versionText);

// Writes the record afresh, keys in their fixed order, creating the folder as needed.
bool write(const QString &path, const QString &programFolder, const QByteArray &versionText,
           const QDateTime &now);

// Writes the record unless it is current already; true when it is current afterwards.
bool update(const StoragePaths &paths, const Clock &clock);

} // namespace InstallationRecord
