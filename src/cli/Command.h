#pragma once

#include <QHash>
#include <QString>

#include <vector>

// One option a command accepts: a flag ("--force") or an option with a value
// ("--from TREE.json", also written "--from=TREE.json").
struct OptionSpec {
    const char *name;      // with its dashes
    const char *valueName; // nullptr for a flag
    const char *help;
};

// A parsed command line: the command, its options and the database file.
struct Invocation {
    QString command;
    QHash<QString, QString> options; // name -> value; a flag maps to an empty value
    QString file;

    bool has(const QString &name) const { return options.contains(name); }
    QString value(const QString &name) const { return options.value(name); }
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
};
