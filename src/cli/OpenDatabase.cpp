#include "OpenDatabase.h"

#include "Command.h"
#include "Console.h"
#include "ExitCode.h"
#include "PasswordInput.h"

#include "document/AttachedDatabase.h"
#include "document/DatabaseFile.h"
#include "document/ElementTree.h"

#include <QFile>
#include <QFileInfo>

namespace {

bool isDatabaseFileName(const QString &path)
{
    return path.endsWith(QStringLiteral(".kvdb"), Qt::CaseInsensitive);
}

// The ciphertext the file holds: the database a file carries, or the whole file.
std::optional<QByteArray> databaseCiphertext(const QString &path)
{
    if (!isDatabaseFileName(path)) {
        if (std::optional<CarriedDatabase> carried = FindAttachedDatabase(path)) {
            return std::move(carried->ciphertext);
        }
    }
    std::optional<QByteArray> fileBytes = readWholeFile(path);
    if (fileBytes && fileBytes->isEmpty()) {
        Console::error(QStringLiteral("Cannot read %1: the file is empty.").arg(path));
        return std::nullopt;
    }
    return fileBytes;
}

// A ".kvdb" file that is in truth a carrier (a renamed attached file).
bool loadCarriedInstead(const QString &path, ElementTree &tree, QByteArrayView password)
{
    if (!isDatabaseFileName(path)) {
        return false;
    }
    std::optional<CarriedDatabase> carried = FindAttachedDatabase(path);
    return carried && LoadDatabaseBuffer(tree, std::move(carried->ciphertext), password);
}

} // namespace

std::optional<QByteArray> readWholeFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        Console::error(QStringLiteral("Cannot read %1: no such file.").arg(path));
        return std::nullopt;
    }
    if (info.isDir()) {
        Console::error(QStringLiteral("Cannot read %1: it is a folder.").arg(path));
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Console::error(QStringLiteral("Cannot read %1: %2.").arg(path, file.errorString()));
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        Console::error(QStringLiteral("Cannot read %1: %2.").arg(path, file.errorString()));
        return std::nullopt;
    }
    return bytes;
}

int openDatabase(const Invocation &invocation, ElementTree &tree, std::optional<Password> *keep)
{
    const QString &path = invocation.file;
    const QFileInfo info(path);
    if (!info.exists()) {
        Console::error(QStringLiteral("Cannot read %1: no such file.").arg(path));
        return ExitFailure;
    }
    if (info.isDir()) {
        Console::error(QStringLiteral("Cannot read %1: it is a folder.").arg(path));
        return ExitFailure;
    }
    if (!info.isFile()) { // a named pipe or a device: reading it could wait for ever
        Console::error(QStringLiteral("Cannot read %1: it is no regular file.").arg(path));
        return ExitFailure;
    }
    std::optional<QByteArray> ciphertext = databaseCiphertext(path);
    if (!ciphertext) {
        return ExitFailure;
    }
    std::optional<Password> password = obtainPassword(invocation, PasswordUse::Open);
    if (!password) {
        return ExitFailure;
    }
    // Decrypted in place; the plaintext is wiped by the loader.
    if (!LoadDatabaseBuffer(tree, std::move(*ciphertext), password->bytes())
        && !loadCarriedInstead(path, tree, password->bytes())) {
        Console::error(QStringLiteral("Wrong password!"));
        return ExitFailure;
    }
    if (keep) {
        *keep = std::move(password);
    }
    return ExitOk;
}
