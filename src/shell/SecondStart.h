#pragma once

#include <QStringList>

class StoragePaths;

// The check a start runs before any window exists: when a running instance with
// "Only one program window" on is recorded in the storage folder, the arguments go to
// it and this process is to end with exit code 0. A record whose channel does not
// answer is stale: it is cleared and start-up goes on. Needs a QCoreApplication.
namespace SecondStart {

enum class Outcome { Continue, HandedOver };

inline constexpr int DefaultTimeoutMs = 3000;

Outcome check(const StoragePaths &paths, const QStringList &arguments, int timeoutMs = DefaultTimeoutMs);

} // namespace SecondStart
