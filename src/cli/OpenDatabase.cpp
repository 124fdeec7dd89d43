#include "OpenDatabase.h"

#include "Command.h"
#include "Console.h"
#include "ElementPath.h"
#include "ExitCode.h"
#include "PasswordInput.h"

#include "document/AttachedDatabase.h"
#include "document/DatabaseFile.h"
#include "document/ElementTree.h"

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
        if (std::optional<CarriedDatabase> carried = findAttachedDatabase(path)) {
            return std::move(carried->ciphertext);
        }
    }
    std::optional<QByteArray> fileBytes = readWholeFile(path, MaxDatabaseFileSize);
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
    std::optional<CarriedDatabase> carried = findAttachedDatabase(path);
    return carried && loadDatabaseBuffer(tree, std::move(carried->ciphertext), password);
}

} // namespace

std::optional<QByteArray> readWholeFile(const QString &path, qint64 maxBytes)
{
    RegularFile::Problem problem = RegularFile::Problem::None;
    std::optional<QByteArray> bytes = RegularFile::read(path, maxBytes, &problem);
    if (bytes) {
        return bytes;
    }
    Console::error(QStringLiteral("Cannot read %1: %2.").arg(path, describeReadProblem(path, problem, maxBytes)));
    return std::nullopt;
}

QString describeReadProblem(const QString &path, RegularFile::Problem problem, qint64 maxBytes)
{
    switch (problem) {
    case RegularFile::Problem::Missing: return QStringLiteral("no such file");
    case RegularFile::Problem::NotRegular:
        return QFileInfo(path).isDir() ? QStringLiteral("it is a folder") : QStringLiteral("it is no regular file");
    case RegularFile::Problem::TooLarge:
        return QStringLiteral("it is larger than %1 bytes").arg(maxBytes);
    case RegularFile::Problem::Unreadable:
    case RegularFile::Problem::None: break;
    }
    return QStringLiteral("permission denied or a read error");
}

int openDatabase(const Invocation &invocation, ElementTree &tree, std::optional<Password> *keep)
{
    const QString &path = invocation.file;
    // A missing file, a folder, a named pipe or a device is refused here, before the
    // password is asked for.
    std::optional<QByteArray> ciphertext = databaseCiphertext(path);
    if (!ciphertext) {
        return ExitFailure;
    }
    std::optional<Password> password = obtainPassword(invocation, PasswordUse::Open);
    if (!password) {
        return ExitFailure;
    }
    // Decrypted in place; the plaintext is wiped by the loader.
    LoadProblem problem = LoadProblem::None;
    if (!loadDatabaseBuffer(tree, std::move(*ciphertext), password->bytes(), &problem)
        && !loadCarriedInstead(path, tree, password->bytes())) {
        if (problem == LoadProblem::TooDeep) {
            Console::error(QStringLiteral("Cannot open %1: its elements are nested deeper than %2 levels.")
                               .arg(path)
                               .arg(ElementTree::MaxDepth));
        } else {
            Console::error(QStringLiteral("Wrong password!"));
        }
        return ExitFailure;
    }
    if (keep) {
        *keep = std::move(password);
    }
    return ExitOk;
}

const ElementNode *openElement(const Invocation &invocation, ElementTree &tree, int &status)
{
    status = openDatabase(invocation, tree);
    if (status != ExitOk) {
        return nullptr;
    }
    const QString path = invocation.argument(1);
    const ElementNode *node = findElementByPath(tree, path);
    if (!node) {
        Console::error(QStringLiteral("%1 holds no element \"%2\".").arg(invocation.file, path));
        status = ExitFailure;
    }
    return node;
}

QString describeWriteProblem(SecretFile::Failure failure)
{
    switch (failure) {
    case SecretFile::Failure::FolderMissing: return QStringLiteral("its folder does not exist");
    case SecretFile::Failure::FolderNotWritable: return QStringLiteral("its folder may not be written");
    case SecretFile::Failure::FileNotWritable: return QStringLiteral("the file may not be written");
    case SecretFile::Failure::None:
    case SecretFile::Failure::WriteFailed: break;
    }
    return QStringLiteral("writing failed (a full disk or a device error)");
}
