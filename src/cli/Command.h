#pragma once

#include <QCommandLineOption>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// A parsed command line: the command, its options and the arguments after them.
struct Invocation {
    QString command;
    QHash<QString, QString> options; // long name with its dashes -> value; a flag maps to an empty value
    QStringList arguments;           // in order, as the command names them
    QString file;                    // the first argument: the database of most commands

    bool has(const QString &name) const { return options.contains(name); }
    QString value(const QString &name) const { return options.value(name); }
    // The argument at index, or an empty text when it was not given.
    QString argument(qsizetype index) const { return arguments.value(index); }
};

// One command of vaultbase-cli: how it is called, its options with their help texts, and
// what it does. Each command is a class of its own in commands/; commandList() names them.
class CliCommand
{
public:
    virtual ~CliCommand() = default;

    // "ls", or a command with a subcommand such as "attachment export".
    virtual QString name() const = 0;
    // What the command does, for the usage and its --help.
    virtual QString summary() const = 0;
    // The options, the longest name of each being its key in Invocation::options
    // ("--format"); one-letter names are short forms ("-p").
    virtual QList<QCommandLineOption> options() const { return {}; }
    // The arguments after the options, by name; the first requiredArguments() must be given.
    virtual QStringList arguments() const { return {QStringLiteral("FILE")}; }
    virtual int requiredArguments() const { return int(arguments().size()); }
    // A command that opens or writes a database takes the password options.
    virtual bool takesPassword() const { return true; }
    // A command that talks to the desktop (the clipboard) runs with a GUI application.
    virtual bool needsDisplay() const { return false; }

    // Returns an ExitCode; ExitUsage prints the command's usage.
    virtual int run(const Invocation &invocation) const = 0;
};

// A flag and an option with a value, as the commands declare them.
inline QCommandLineOption flagOption(const QStringList &names, const QString &help)
{
    return QCommandLineOption(names, help);
}
inline QCommandLineOption valueOption(const QStringList &names, const QString &help, const QString &valueName)
{
    return QCommandLineOption(names, help, valueName);
}
