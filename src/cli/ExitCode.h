#pragma once

// What vaultbase-cli returns to the shell.
enum ExitCode : int {
    ExitOk = 0,
    ExitFailure = 1, // wrong password, unreadable file, refused content, failed write
    ExitUsage = 2,   // the command line itself is wrong; the usage is printed
};
