#pragma once

#include <QString>
#include <QStringList>

// The desktop program's command line: the files to open and the few switches a terminal
// or the desktop entry gives. Read before any window exists, so --version and --help
// answer without a display.
struct DesktopCommandLine
{
    enum class Action { Run, PrintVersion, PrintHelp };

    // Given first, it starts with a new, unnamed database instead of the start-up file;
    // a running program that is handed it over makes a new database.
    static constexpr char NewDatabase[] = "--new";

    Action action = Action::Run;
    // What start-up and a second start work with: NewDatabase first when it was given,
    // then the files, each made absolute against the folder the start was made in.
    QStringList arguments;

    // arguments without the program's name. After "--" every argument is a file.
    static DesktopCommandLine parse(const QStringList &arguments, const QString &currentFolder);

    // "vaultbase (Brightway Vaultbase) 1.0.0", the form help2man reads.
    static QString versionText();
    static QString helpText();
};
