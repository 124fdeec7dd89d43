#pragma once

#include "tools/Digest.h"

#include <QString>

#include <functional>

// How many bytes the file checksum reads at a time.
inline constexpr qint64 ChecksumChunkSize = qint64(1) << 20;

// Told after every chunk how far the checksum has read (bytesTotal is the file size when
// it was opened); returning false cancels the computation.
using ChecksumProgress = std::function<bool(qint64 bytesDone, qint64 bytesTotal)>;

// The digest of a file's bytes as stored on disk, read in chunks (the file is never held
// whole in memory), as lower-case hex with two digits per byte. Empty for
// DigestAlgorithm::None, for a file that cannot be opened or read completely, and when
// progress cancels.
QString checksum(const QString &filePath, DigestAlgorithm algorithm, const ChecksumProgress &progress = {});
