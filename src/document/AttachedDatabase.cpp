#include "AttachedDatabase.h"

#include "platform/RegularFile.h"
#include "platform/SecretFile.h"

#include <QFile>
#include <QtEndian>

#include <sys/stat.h>

#include <limits>
#include <new>

namespace {

constexpr qint64 LengthSize = 4;
constexpr qint64 CopyChunk = qint64(1) << 20;
// Nothing of 28 bytes or less carries a database (the attachment trailer alone is 28).
constexpr qint64 SmallestCarrier = 29;

std::optional<QByteArray> readAt(QIODevice &file, qint64 offset, qint64 size)
{
    if (offset < 0 || size < 0 || !file.seek(offset)) {
        return std::nullopt;
    }
    try {
        QByteArray bytes = file.read(size);
        if (bytes.size() != size) {
            return std::nullopt;
        }
        return bytes;
    } catch (const std::bad_alloc &) {
        return std::nullopt;
    }
}

std::optional<qint32> readLengthAt(QIODevice &file, qint64 offset)
{
    const std::optional<QByteArray> bytes = readAt(file, offset, LengthSize);
    if (!bytes) {
        return std::nullopt;
    }
    return qFromLittleEndian<qint32>(bytes->constData());
}

bool endsWith(QIODevice &file, qint64 length, QByteArrayView trailerWithNul)
{
    const std::optional<QByteArray> tail = readAt(file, length - trailerWithNul.size(), trailerWithNul.size());
    return tail && *tail == trailerWithNul;
}

QByteArrayView withNul(const char *text, qsizetype sizeWithNul)
{
    return QByteArrayView(text, sizeWithNul);
}

// The numbers that follow the program part at programLength: n, the ciphertext and, for
// portable copies, m and the language text, all before end (where a trailer begins).
std::optional<CarriedDatabase> readCarriedPart(QIODevice &file, CarriedDatabase::Kind kind, qint64 programLength,
                                               qint64 end)
{
    if (programLength < 0 || programLength + LengthSize > end) {
        return std::nullopt;
    }
    const std::optional<qint32> n = readLengthAt(file, programLength);
    const qint64 databaseOffset = programLength + LengthSize;
    if (!n || *n <= 0 || databaseOffset + *n > end) {
        return std::nullopt;
    }
    CarriedDatabase carried;
    carried.kind = kind;
    carried.programLength = programLength;
    carried.databaseOffset = databaseOffset;
    if (kind != CarriedDatabase::Attached) {
        const qint64 languageLengthOffset = databaseOffset + *n;
        if (languageLengthOffset + LengthSize > end) {
            return std::nullopt;
        }
        const std::optional<qint32> m = readLengthAt(file, languageLengthOffset);
        if (!m || *m < 0 || languageLengthOffset + LengthSize + *m > end) {
            return std::nullopt;
        }
        std::optional<QByteArray> language = readAt(file, languageLengthOffset + LengthSize, *m);
        if (!language) {
            return std::nullopt;
        }
        carried.languageText = std::move(*language);
    }
    std::optional<QByteArray> ciphertext = readAt(file, databaseOffset, *n);
    if (!ciphertext) {
        return std::nullopt;
    }
    carried.ciphertext = std::move(*ciphertext);
    return carried;
}

std::optional<CarriedDatabase> findAttached(QIODevice &file, qint64 length)
{
    const qint64 trailerStart = length - CarriedTrailer::AttachmentSize - LengthSize;
    const std::optional<qint32> programLength = readLengthAt(file, trailerStart);
    if (!programLength) {
        return std::nullopt;
    }
    return readCarriedPart(file, CarriedDatabase::Attached, *programLength, trailerStart);
}

std::optional<CarriedDatabase> findPortable(QIODevice &file, qint64 length)
{
    const qint64 trailerStart = length - CarriedTrailer::PortableSize - LengthSize;
    const std::optional<qint32> programLength = readLengthAt(file, trailerStart);
    if (!programLength) {
        return std::nullopt;
    }
    return readCarriedPart(file, CarriedDatabase::Portable, *programLength, trailerStart);
}

// A Windows executable begins with "MZ"; the installed program holds the 'T' of its stub
// message at offset 80, a portable copy the program length instead.
std::optional<CarriedDatabase> findWindowsPortable(QIODevice &file, qint64 length)
{
    const std::optional<QByteArray> head = readAt(file, 0, 2);
    if (!head || *head != "MZ") {
        return std::nullopt;
    }
    const std::optional<QByteArray> marker = readAt(file, CarriedTrailer::WindowsLengthOffset, 1);
    if (!marker || marker->at(0) == 'T') {
        return std::nullopt;
    }
    const std::optional<qint32> programLength = readLengthAt(file, CarriedTrailer::WindowsLengthOffset);
    // The program part holds its own length field.
    if (!programLength || *programLength < CarriedTrailer::WindowsLengthOffset + LengthSize) {
        return std::nullopt;
    }
    return readCarriedPart(file, CarriedDatabase::WindowsPortable, *programLength, length);
}

QByteArray lengthBytes(qint64 value)
{
    QByteArray bytes(LengthSize, '\0');
    qToLittleEndian<qint32>(qint32(value), bytes.data());
    return bytes;
}

bool writeAll(QIODevice &out, QByteArrayView bytes)
{
    return out.write(bytes.data(), bytes.size()) == bytes.size();
}

bool copyPrefix(QIODevice &in, QIODevice &out, qint64 count)
{
    if (!in.seek(0)) {
        return false;
    }
    QByteArray chunk;
    while (count > 0) {
        chunk = in.read(std::min(count, CopyChunk));
        if (chunk.isEmpty() || !writeAll(out, chunk)) {
            return false;
        }
        count -= chunk.size();
    }
    return true;
}

bool fitsLength(qint64 value)
{
    return value >= 0 && value <= std::numeric_limits<qint32>::max();
}

} // namespace

std::optional<CarriedDatabase> findAttachedDatabase(QIODevice &file)
{
    if (!file.isOpen() || file.isSequential()) {
        return std::nullopt;
    }
    const qint64 length = file.size();
    if (length < SmallestCarrier) {
        return std::nullopt;
    }
    if (endsWith(file, length, withNul(CarriedTrailer::Attachment, CarriedTrailer::AttachmentSize))) {
        return findAttached(file, length);
    }
    if (endsWith(file, length, withNul(CarriedTrailer::Portable, CarriedTrailer::PortableSize))) {
        return findPortable(file, length);
    }
    return findWindowsPortable(file, length);
}

std::optional<CarriedDatabase> findAttachedDatabase(const QString &path)
{
    // Only regular files: opening a named pipe would wait for a writer.
    QFile file;
    if (!RegularFile::open(file, path)) {
        return std::nullopt;
    }
    return findAttachedDatabase(file);
}

CarryWrite writeAttachedDatabase(const QString &source, const QString &destination, bool portable,
                                 QByteArrayView ciphertext, QByteArrayView languageText)
{
    using Problem = CarryWrite::Problem;
    if (ciphertext.isEmpty()) {
        return {Problem::NoCiphertext, SecretFile::Failure::None};
    }
    QFile in;
    if (!RegularFile::open(in, source)) {
        return {Problem::SourceUnreadable, SecretFile::Failure::None};
    }
    qint64 programLength = in.size();
    if (portable) {
        // A portable copy made from a portable copy (or from a file that carries a
        // database) takes over the program part only.
        if (const std::optional<CarriedDatabase> carried = findAttachedDatabase(in)) {
            programLength = carried->programLength;
        }
    }
    if (!fitsLength(programLength) || !fitsLength(ciphertext.size()) || !fitsLength(languageText.size())) {
        return {Problem::TooLarge, SecretFile::Failure::None};
    }
    const auto produce = [&](QIODevice &out) {
        if (!copyPrefix(in, out, programLength) || !writeAll(out, lengthBytes(ciphertext.size()))
            || !writeAll(out, ciphertext)) {
            return false;
        }
        if (portable) {
            return writeAll(out, lengthBytes(languageText.size())) && writeAll(out, languageText)
                && writeAll(out, lengthBytes(programLength))
                && writeAll(out, withNul(CarriedTrailer::Portable, CarriedTrailer::PortableSize));
        }
        return writeAll(out, lengthBytes(programLength))
            && writeAll(out, withNul(CarriedTrailer::Attachment, CarriedTrailer::AttachmentSize));
    };
    SecretFile::Failure failure = SecretFile::Failure::None;
    try {
        if (!SecretFile::write(destination, produce, &failure)) {
            return {Problem::NotWritten, failure};
        }
    } catch (const std::bad_alloc &) {
        return {Problem::NotWritten, SecretFile::Failure::WriteFailed};
    }
    // A program copy must still run; only its owner may read, write and start it.
    if (portable && ::chmod(QFile::encodeName(destination).constData(), S_IRWXU) != 0) {
        return {Problem::NotWritten, SecretFile::Failure::FileNotWritable};
    }
    return {};
}
