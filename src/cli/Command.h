#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

// One option a command accepts: a flag ("--force") or an option with a value
// ("--from TREE.json", also written "--from=TREE.json").
struct OptionSpec {
    const char *name;      // with its dashes
    const char *valueName; // nullptr for a flag
    const char *help;
};

// A parsed command line: the command, its options and the arguments after them.
struct Invocation {
    QString command;
    QHash<QString, QString> options; // name -> value; a flag maps to an empty value
    QStringList arguments;           // in order, as the command's table entry names them
    QString file;                    // the first argument: the database of most commands

    bool has(const QString &name) const { return options.contains(name); }
    QString value(const QString &name) const { return options.value(name); }
    // The argument at index, or an empty text when it was not given.
    QString argument(qsizetype index) const { return arguments.value(index); }
};

// A command of the table: how it is called and the function that runs it, returning an
// ExitCode. A command that reads or writes a database takes the shared password options.
struct CommandSpec {
    const char *name;
    const char *synopsis; // the options as shown in the usage
    const char *summary;
    std::vector<OptionSpec> options;
    bool takesPassword;
    int (*run)(const Invocation &);
    // The arguments after the options, by name; the first minArguments must be given.
    std::vector<const char *> arguments = {"FILE"};
    int minArguments = 1;
    // A word that follows the command name before its options ("keyfile create").
    const char *subcommand = nullptr;
};
