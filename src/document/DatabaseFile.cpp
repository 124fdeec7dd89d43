#include "DatabaseFile.h"

#include "Blowfish.h"
#include "ElementTree.h"
#include "Encryption.h"
#include "class_treeview.h"
#include "platform/SecureMemory.h"

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

bool saveDatabase(const ElementTree &tree, const QString &path, QByteArrayView password, bool binary,
                  const SecretFile::FailingWrites *failing)
{
    try {
        const std::optional<QByteArray> cipher = EncryptDatabase(tree, password, binary);
        if (!cipher) {
            return false;
        }
        return failing ? SecretFile::write(path, *cipher, *failing) : SecretFile::write(path, *cipher);
    } catch (const std::bad_alloc &) {
        return false;
    }
}

} // namespace

QByteArray DatabaseStream(const ElementTree &tree, bool binary)
{
    if (binary) {
        return class_treeview::WriteTreeBinary(tree);
    }
    class_treeview converter;
    if (!converter.ExportTree(tree)) {
        return {};
    }
    // The text form cuts a cell at a column tag or a NUL and shifts the cells after it; the
    // binary form carries any cell, and every reader accepts it.
    QByteArray stream = converter.TextFormCanCarry() ? converter.WriteText() : converter.WriteBinary();
    for (int r = 0; r < converter.RowCount(); ++r) {
        QByteArray hex = converter.TakeCell(class_treeview::ColBlob, r);
        SecureMemory::wipe(hex);
    }
    return stream;
}

std::optional<QByteArray> EncryptDatabase(const ElementTree &tree, QByteArrayView password, bool binary)
{
    if (password.isEmpty()) {
        return std::nullopt;
    }
    try {
        return encryptStream(DatabaseStream(tree, binary), password);
    } catch (const std::bad_alloc &) {
        return std::nullopt;
    }
}

bool SaveDatabase(const ElementTree &tree, const QString &path, QByteArrayView password, bool binary)
{
    return saveDatabase(tree, path, password, binary, nullptr);
}

bool SaveDatabase(const ElementTree &tree, const QString &path, QByteArrayView password, bool binary,
                  SecretFile::FailingWrites failing)
{
    return saveDatabase(tree, path, password, binary, &failing);
}

bool LoadDatabaseStream(ElementTree &tree, QByteArrayView plaintext)
{
    try {
        // The binary form is imported where it lies; the text form goes through the table.
        class_treeview converter;
        ElementTree loaded;
        if (!converter.ImportBinaryStream(loaded, plaintext, nullptr, false)) {
            loaded.ClearTree();
            if (!converter.ReadText(plaintext) || !converter.ImportTree(loaded, nullptr, false)) {
                return false;
            }
        }
        loaded.setSorted(tree.isSorted());
        tree.swapContent(loaded);
        return true;
    } catch (const std::bad_alloc &) {
        return false;
    }
}

bool LoadDatabaseBuffer(ElementTree &tree, QByteArray bytes, QByteArrayView password)
{
    if (bytes.isEmpty() || !DecryptInPlace(bytes, password)) {
        return false;
    }
    const bool loaded = LoadDatabaseStream(tree, bytes);
    SecureMemory::wipe(bytes);
    return loaded;
}

bool LoadDatabaseFile(ElementTree &tree, const QString &path, QByteArrayView password)
{
    std::optional<QByteArray> plaintext = DecryptFile(path, password);
    if (!plaintext) {
        return false;
    }
    const bool loaded = LoadDatabaseStream(tree, *plaintext);
    SecureMemory::wipe(*plaintext);
    return loaded;
}
