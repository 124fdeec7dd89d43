#include "tools/FileChecksum.h"

#include "platform/RegularFile.h"

#include <QFile>

#include <vector>

QString checksum(const QString &filePath, DigestAlgorithm algorithm, const ChecksumProgress &progress)
{
    const std::unique_ptr<Digest> digest = Digest::create(algorithm);
    if (!digest || filePath.isEmpty()) {
        return {}; // no algorithm chosen, or a database never saved
    }
    // Only a regular file: a named pipe would keep the digest waiting for ever.
    QFile file;
    if (!RegularFile::open(file, filePath)) {
        return {};
    }
    const qint64 total = file.size();
    std::vector<char> chunk(static_cast<std::size_t>(ChecksumChunkSize));
    qint64 done = 0;
    for (;;) {
        const qint64 got = file.read(chunk.data(), ChecksumChunkSize);
        if (got < 0) {
            return {}; // a read error must not pass for the digest of a shorter file
        }
        if (got == 0) {
            break;
        }
        digest->update(chunk.data(), std::size_t(got));
        done += got;
        if (progress && !progress(done, total)) {
            return {};
        }
    }
    return QString::fromLatin1(digest->finalHex());
}
