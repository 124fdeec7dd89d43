#include "tools/FileChecksum.h"

#include <QFile>

#include <vector>

QString checksum(const QString &filePath, DigestAlgorithm algorithm, const ChecksumProgress &progress)
{
    const std::unique_ptr<Digest> digest = Digest::create(algorithm);
    if (!digest || filePath.isEmpty()) {
        return {}; // no algorithm chosen, or a database never saved
    }
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
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
