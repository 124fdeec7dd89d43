#pragma once

#include "Password.h"

#include <QByteArray>
#include <QString>

#include <optional>

struct Invocation;

enum class PasswordUse {
    Open,   // of an existing database
    Create,  // of a new one: on the terminal it is asked twice
    KeyFile, // to keep in a new key file: asked twice as well
};

// The password the options ask for: "--key-file PATH" reads a key file, "--password-stdin"
// one line of standard input, otherwise it is asked on the terminal without echo. Typed
// passwords are UTF-8 and become the code page's bytes; a password the code page cannot
// carry, an empty one or none at all is refused. On failure the reason is printed and
// nothing is returned.
std::optional<Password> obtainPassword(const Invocation &invocation, PasswordUse use);

// A typed password (UTF-8) as the code page's bytes; the reason in *error when it is not
// valid UTF-8 or holds a character the code page cannot carry. The input is wiped.
std::optional<Password> passwordFromUtf8(QByteArray utf8, QString *error);

// A new password (of a key, or of the database): asked twice on the terminal; without a
// terminal, the next line of standard input, so that scripts can give it. prompt names it.
// Nothing, with the reason printed, when it is missing, differs, or cannot be stored.
std::optional<Password> askNewPassword(const QString &prompt);
