#pragma once

#include <QByteArray>

#include <optional>

// Reads one line (up to LF or the end of input) from a file descriptor, byte by byte so
// nothing after the line is consumed. The line end is removed: "\n" and a "\r" before it.
// Growing the buffer wipes the old one, so no stray copy of a secret is left in freed
// memory. Nothing at the end of input before any byte, on a read error, or when the line
// exceeds maxLength bytes.
std::optional<QByteArray> readSecretLine(int fd, qsizetype maxLength = 64 * 1024);
