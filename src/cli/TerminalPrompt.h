#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Asks on the controlling terminal (/dev/tty) with echo off, as a password prompt does.
// The terminal's settings are restored on every way out: after the line, on an error, and
// when SIGINT, SIGTERM, SIGQUIT or SIGHUP ends the program during the prompt (the signal
// then takes its usual course); Ctrl+Z restores them while stopped and turns echo off
// again on resuming.
class TerminalPrompt
{
public:
    // False when there is no terminal to ask on.
    bool open();
    ~TerminalPrompt();

    // The typed line (UTF-8 as the terminal sends it) without its line end; nothing when
    // input ends before a line (Ctrl+D) or fails.
    std::optional<QByteArray> ask(const QString &prompt);

private:
    int m_fd = -1;
};
