#include "OpenDatabase.h"

#include "Command.h"
#include "Console.h"
#include "ExitCode.h"
#include "PasswordInput.h"

#include "document/DatabaseFile.h"
#include "document/ElementTree.h"

#include <QFile>
#include <QFileInfo>

namespace {

// The ciphertext of the database the file holds. A ".kvdb" file is nothing but the
// ciphertext. This is the place where a database carried at the end of another file (an
// attached database, a portable copy) will be recognised and cut out.
std::optional<QByteArray> databaseCiphertext(QByteArray fileBytes, const QString &)
{
    return fileBytes;
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

int openDatabase(const Invocation &invocation, ElementTree &tree)
{
    std::optional<QByteArray> fileBytes = readWholeFile(invocation.file);
    if (!fileBytes) {
        return ExitFailure;
    }
    if (fileBytes->isEmpty()) {
        Console::error(QStringLiteral("Cannot read %1: the file is empty.").arg(invocation.file));
        return ExitFailure;
    }
    std::optional<QByteArray> ciphertext = databaseCiphertext(std::move(*fileBytes), invocation.file);
    if (!ciphertext) {
        Console::error(QStringLiteral("%1 holds no database.").arg(invocation.file));
        return ExitFailure;
    }
    const std::optional<Password> password = obtainPassword(invocation, PasswordUse::Open);
    if (!password) {
        return ExitFailure;
    }
    // Decrypted in place; the plaintext is wiped by the loader.
    if (!LoadDatabaseBuffer(tree, std::move(*ciphertext), password->bytes())) {
        Console::error(QStringLiteral("Wrong password!"));
        return ExitFailure;
    }
    return ExitOk;
}
