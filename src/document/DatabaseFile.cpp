#include "DatabaseFile.h"

#include "BackgroundDecryption.h"
#include "Blowfish.h"
#include "ElementTree.h"
#include "TreeTable.h"
#include "platform/RegularFile.h"
#include "platform/SecureMemory.h"


#include <cstring>
#include <new>

namespace {

std::optional<QByteArray> encryptStream(QByteArray stream, QByteArrayView password)
{
    if (password.isEmpty() || stream.isEmpty()) {
        SecureMemory::wipe(stream);
        return std::nullopt;
    }
    // Padded with zeros to whole blocks and encrypted where it lies: the plaintext never
    // exists twice, and no copy of it is left behind.
    const qsizetype padded = (stream.size() + Blowfish::BlockSize - 1) / Blowfish::BlockSize * Blowfish::BlockSize;
    stream.append(QByteArray(padded - stream.size(), '\0'));
    Blowfish(password).encrypt(stream.data(), stream.size());
    return stream;
}

bool writeAll(QIODevice &out, const char *data, qsizetype size)
{
    while (size > 0) {
        const qint64 written = out.write(data, size);
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// The binary form is written, encrypted and saved piece by piece while the tree is
// walked: each piece is encrypted while it is fresh in the cache, and the plaintext never
// exists whole. The bytes are those of encryptStream(databaseStream(tree, true)).
bool writeEncryptedBinary(const ElementTree &tree, const Blowfish &cipher, QIODevice &out)
{
    constexpr qsizetype ChunkSize = 64 * 1024; // a multiple of the block size
    return TreeTable::writeTreeBinary(tree, ChunkSize, [&](char *chunk, qsizetype size) {
        // Only the last piece can end inside a block: it is completed with zeros.
        const qsizetype padded = (size + Blowfish::BlockSize - 1) / Blowfish::BlockSize * Blowfish::BlockSize;
        std::memset(chunk + size, 0, size_t(padded - size));
        cipher.encrypt(chunk, padded);
        return writeAll(out, chunk, padded);
    });
}

} // namespace

QByteArray databaseStream(const ElementTree &tree, bool binary)
{
    if (binary) {
        return TreeTable::writeTreeBinary(tree);
    }
    TreeTable converter;
    if (!converter.exportTree(tree)) {
        return {};
    }
    // The text form cuts a cell at a column tag or a NUL and shifts the cells after it; the
    // binary form carries any cell, and every reader accepts it.
    QByteArray stream = converter.textFormCanCarry() ? converter.writeText() : converter.writeBinary();
    for (int r = 0; r < converter.rowCount(); ++r) {
        QByteArray hex = converter.takeCell(TreeTable::ColBlob, r);
        SecureMemory::wipe(hex);
    }
    return stream;
}

std::optional<QByteArray> encryptDatabase(const ElementTree &tree, QByteArrayView password, bool binary)
{
    if (password.isEmpty()) {
        return std::nullopt;
    }
    try {
        return encryptStream(databaseStream(tree, binary), password);
    } catch (const std::bad_alloc &) {
        return std::nullopt;
    }
}

bool writeDatabase(const ElementTree &tree, QIODevice &out, QByteArrayView password, bool binary)
{
    if (password.isEmpty()) {
        return false;
    }
    try {
        if (!binary) {
            const std::optional<QByteArray> cipher = encryptDatabase(tree, password, binary);
            return cipher && writeAll(out, cipher->constData(), cipher->size());
        }
        return writeEncryptedBinary(tree, Blowfish(password), out);
    } catch (const std::bad_alloc &) {
        return false;
    }
}

bool saveDatabase(const ElementTree &tree, const QString &path, QByteArrayView password, bool binary,
                  SecretFile::Failure *failure)
{
    if (password.isEmpty()) {
        if (failure) {
            *failure = SecretFile::Failure::WriteFailed;
        }
        return false;
    }
    return SecretFile::write(
        path, [&](QIODevice &out) { return writeDatabase(tree, out, password, binary); }, failure);
}

namespace {

bool failWith(LoadProblem *problem, LoadProblem reason)
{
    if (problem) {
        *problem = reason;
    }
    return false;
}

// Reads the database in plaintext into a tree built aside, swapped in only on success.
// With readable, the plaintext is still being decrypted (see importBinaryStream).
bool loadStream(ElementTree &tree, QByteArrayView plaintext, const TreeTable::Readable &readable,
                LoadProblem *problem, StreamForm *form = nullptr)
{
    StreamForm read = StreamForm::Binary;
    try {
        // The binary form is imported where it lies; the text form goes through the table.
        TreeTable converter;
        ElementTree loaded;
        if (!converter.importBinaryStream(loaded, plaintext, nullptr, false, readable)) {
            if (converter.tooDeep()) {
                return failWith(problem, LoadProblem::TooDeep);
            }
            loaded.clearTree();
            if (readable) {
                readable(plaintext.size());
            }
            read = StreamForm::Text;
            if (!converter.readText(plaintext) || !converter.importTree(loaded, nullptr, false)) {
                return failWith(problem, converter.tooDeep() ? LoadProblem::TooDeep : LoadProblem::NotADatabase);
            }
        }
        loaded.setSorted(tree.isSorted());
        tree.swapContent(loaded);
        if (form) {
            *form = read;
        }
        return true;
    } catch (const std::bad_alloc &) {
        return failWith(problem, LoadProblem::NotADatabase);
    }
}

class WipeOnExit
{
public:
    explicit WipeOnExit(QByteArray &bytes) : m_bytes(bytes) {}
    ~WipeOnExit() { SecureMemory::wipe(m_bytes); }
    WipeOnExit(const WipeOnExit &) = delete;
    WipeOnExit &operator=(const WipeOnExit &) = delete;

private:
    QByteArray &m_bytes;
};

// Decrypts bytes in place in a worker thread while this one parses what is done. The
// worker has finished before the plaintext is wiped, however the load ends.
bool decryptAndLoad(ElementTree &tree, QByteArray &bytes, QByteArrayView password, LoadProblem *problem,
                    StreamForm *form)
{
    bytes.truncate(bytes.size() / Blowfish::BlockSize * Blowfish::BlockSize);
    // data() detaches first, so other copies of the ciphertext stay ciphertext.
    char *data = bytes.data();
    const WipeOnExit wipe(bytes);
    BackgroundDecryption decryption(data, bytes.size(), password);
    return loadStream(tree, bytes, [&decryption](qsizetype end) { return decryption.waitFor(end); }, problem,
                      form);
}

} // namespace

bool loadDatabaseStream(ElementTree &tree, QByteArrayView plaintext, LoadProblem *problem)
{
    failWith(problem, LoadProblem::None);
    return loadStream(tree, plaintext, TreeTable::Readable(), problem);
}

bool loadDatabaseBuffer(ElementTree &tree, QByteArray bytes, QByteArrayView password, LoadProblem *problem,
                        StreamForm *form)
{
    failWith(problem, LoadProblem::None);
    if (bytes.isEmpty() || password.isEmpty()) {
        return failWith(problem, LoadProblem::NotADatabase);
    }
    try {
        return decryptAndLoad(tree, bytes, password, problem, form);
    } catch (const std::bad_alloc &) {
        return failWith(problem, LoadProblem::NotADatabase);
    }
}

bool loadDatabaseFile(ElementTree &tree, const QString &path, QByteArrayView password, LoadProblem *problem,
                      StreamForm *form)
{
    failWith(problem, LoadProblem::None);
    if (password.isEmpty()) {
        return failWith(problem, LoadProblem::NotADatabase);
    }
    std::optional<QByteArray> bytes = RegularFile::read(path, MaxDatabaseFileSize);
    if (!bytes || bytes->isEmpty()) {
        return failWith(problem, LoadProblem::Unreadable);
    }
    return loadDatabaseBuffer(tree, std::move(*bytes), password, problem, form);
}
