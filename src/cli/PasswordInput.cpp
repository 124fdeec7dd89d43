#include "PasswordInput.h"

#include "Command.h"
#include "Console.h"
#include "OpenDatabase.h"
#include "SecretLine.h"
#include "TerminalPrompt.h"

#include "document/KeyFile.h"
#include "platform/CodePage.h"
#include "platform/SecureMemory.h"

#include <QStringDecoder>

#include <unistd.h>

namespace {

void wipe(QString &text)
{
    if (!text.isEmpty() && text.isDetached()) {
        SecureMemory::wipe(text.data(), size_t(text.size()) * sizeof(QChar));
    }
    text.clear();
}

std::optional<Password> fromKeyFile(const QString &path)
{
    RegularFile::Problem problem = RegularFile::Problem::None;
    std::optional<QByteArray> bytes = RegularFile::read(path, MaxKeyFileSize, &problem);
    if (!bytes) {
        Console::error(QStringLiteral("Cannot read the key file %1: %2.")
                           .arg(path, problem == RegularFile::Problem::TooLarge
                                          ? QStringLiteral("a key file has at most %1 bytes").arg(MaxKeyFileSize)
                                          : describeReadProblem(path, problem, MaxKeyFileSize)));
        return std::nullopt;
    }
    std::optional<QByteArray> password = keyFilePassword(std::move(*bytes));
    if (!password) {
        Console::error(QStringLiteral("The key file %1 holds no password.").arg(path));
        return std::nullopt;
    }
    return Password(std::move(*password));
}

std::optional<Password> fromStdin()
{
    std::optional<QByteArray> line = readSecretLine(STDIN_FILENO);
    if (!line) {
        Console::error(QStringLiteral("No password on standard input."));
        return std::nullopt;
    }
    QString error;
    std::optional<Password> password = passwordFromUtf8(std::move(*line), &error);
    if (!password) {
        Console::error(error);
    }
    return password;
}

std::optional<Password> askOnTerminal(TerminalPrompt &terminal, const QString &prompt)
{
    std::optional<QByteArray> line = terminal.ask(prompt);
    if (!line) {
        Console::error(QStringLiteral("No password given."));
        return std::nullopt;
    }
    QString error;
    std::optional<Password> password = passwordFromUtf8(std::move(*line), &error);
    if (!password) {
        Console::error(error);
    }
    return password;
}

std::optional<Password> fromTerminal(const QString &file, PasswordUse use)
{
    TerminalPrompt terminal;
    if (!terminal.open()) {
        Console::error(QStringLiteral("No terminal to ask the password on: give --password-stdin or --key-file."));
        return std::nullopt;
    }
    const QString prompt = use == PasswordUse::Create    ? QStringLiteral("Password for the new database %1: ")
                         : use == PasswordUse::KeyFile ? QStringLiteral("Password to keep in the key file %1: ")
                                                       : QStringLiteral("Password for %1: ");
    std::optional<Password> password = askOnTerminal(terminal, prompt.arg(file));
    if (!password || use == PasswordUse::Open || password->isEmpty()) {
        return password;
    }
    const std::optional<Password> again = askOnTerminal(terminal, QStringLiteral("Repeat the password: "));
    if (!again) {
        return std::nullopt;
    }
    if (!(*again == *password)) {
        Console::error(QStringLiteral("The passwords differ."));
        return std::nullopt;
    }
    return password;
}

} // namespace

std::optional<Password> passwordFromUtf8(QByteArray utf8, QString *error)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(utf8);
    SecureMemory::wipe(utf8);
    if (decoder.hasError()) {
        wipe(text);
        *error = QStringLiteral("The password is not valid UTF-8.");
        return std::nullopt;
    }
    bool ok = false;
    QByteArray bytes = CodePage::fromUnicode(text, &ok);
    wipe(text);
    if (!ok) {
        *error = QStringLiteral("The password holds a character the code page (Windows-1252) cannot carry.");
        return std::nullopt;
    }
    return Password(std::move(bytes));
}

std::optional<Password> obtainPassword(const Invocation &invocation, PasswordUse use)
{
    std::optional<Password> password;
    if (invocation.has(QStringLiteral("--key-file"))) {
        password = fromKeyFile(invocation.value(QStringLiteral("--key-file")));
    } else if (invocation.has(QStringLiteral("--password-stdin"))) {
        password = fromStdin();
    } else {
        password = fromTerminal(invocation.file, use);
    }
    if (password && password->isEmpty()) {
        Console::error(QStringLiteral("The password is empty."));
        return std::nullopt;
    }
    return password;
}

std::optional<Password> askNewPassword(const QString &prompt)
{
    TerminalPrompt terminal;
    if (!terminal.open()) {
        return fromStdin();
    }
    std::optional<Password> password = askOnTerminal(terminal, prompt);
    if (!password) {
        return std::nullopt;
    }
    const std::optional<Password> again = askOnTerminal(terminal, QStringLiteral("Repeat the password: "));
    if (!again) {
        return std::nullopt;
    }
    if (!(*again == *password)) {
        Console::error(QStringLiteral("The passwords differ."));
        return std::nullopt;
    }
    return password;
}
