#include "ArgumentParser.h"

#include "CommandList.h"

#include <QCommandLineParser>

namespace {

bool isHelp(const QString &argument)
{
    return argument == u"--help" || argument == u"-h";
}

ParsedArguments usageError(QString error, const CliCommand *command = nullptr)
{
    ParsedArguments parsed;
    parsed.error = std::move(error);
    parsed.command = command;
    return parsed;
}

QString dashed(const QString &name)
{
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// The key of an option in Invocation::options: its longest name with its dashes.
QString keyOf(const QCommandLineOption &option)
{
    QString longest;
    for (const QString &name : option.names()) {
        if (name.size() > longest.size()) {
            longest = name;
        }
    }
    return dashed(longest);
}

bool isOptionOf(const QList<QCommandLineOption> &options, const QString &argument)
{
    if (!argument.startsWith(u'-') || argument == u"-") {
        return false;
    }
    QString name = argument.sliced(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
    name.truncate(name.indexOf(u'=') < 0 ? name.size() : name.indexOf(u'='));
    for (const QCommandLineOption &option : options) {
        if (option.names().contains(name)) {
            return true;
        }
    }
    return false;
}

} // namespace

ParsedArguments parseArguments(const QStringList &arguments)
{
    if (arguments.size() < 2) {
        return usageError(QStringLiteral("No command given."));
    }
    if (isHelp(arguments[1]) || arguments[1] == u"--version") {
        ParsedArguments parsed;
        parsed.outcome = isHelp(arguments[1]) ? ParsedArguments::Help : ParsedArguments::Version;
        return parsed;
    }
    int words = 0;
    const CliCommand *command = findCommand(arguments.sliced(1), &words);
    if (!command) {
        return usageError(QStringLiteral("Unknown command \"%1\".").arg(arguments.sliced(1).join(u' ').left(60)));
    }
    QList<QCommandLineOption> options = command->options();
    if (command->takesPassword()) {
        options += passwordOptions();
    }
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("this command's options"));
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.addOptions(options);
    parser.addOption(help);
    const QStringList rest = arguments.sliced(1 + words);
    if (!parser.parse(QStringList{arguments[0]} + rest)) {
        return usageError(parser.errorText(), command);
    }
    ParsedArguments parsed;
    parsed.command = command;
    if (parser.isSet(help)) {
        parsed.outcome = ParsedArguments::CommandHelp;
        return parsed;
    }
    Invocation &invocation = parsed.invocation;
    invocation.command = command->name();
    for (const QCommandLineOption &option : options) {
        const QString key = keyOf(option);
        qsizetype given = 0;
        for (const QString &found : parser.optionNames()) {
            given += option.names().contains(found) ? 1 : 0;
        }
        if (given > 1) {
            return usageError(QStringLiteral("The option %1 is given twice.").arg(key), command);
        }
        if (parser.isSet(option)) {
            invocation.options.insert(key, option.valueName().isEmpty() ? QString() : parser.value(option));
        }
    }
    invocation.arguments = parser.positionalArguments();
    const QStringList names = command->arguments();
    const qsizetype given = invocation.arguments.size();
    // An option after the arguments would be taken for one of them.
    if (!rest.contains(QStringLiteral("--"))) {
        for (qsizetype a = 1; a < given; ++a) {
            if (isOptionOf(options, invocation.arguments[a])) {
                return usageError(QStringLiteral("Unexpected \"%1\" after %2: options come before the file name.")
                                      .arg(invocation.arguments[a], names.value(0)),
                                  command);
            }
        }
    }
    if (given < command->requiredArguments()) {
        return usageError(QStringLiteral("No %1 given.").arg(names[given]), command);
    }
    if (given > names.size()) {
        if (names.isEmpty()) {
            return usageError(QStringLiteral("Unexpected \"%1\": %2 takes no file name.")
                                  .arg(invocation.arguments[0], invocation.command),
                              command);
        }
        return usageError(QStringLiteral("Unexpected \"%1\" after %2: options come before the file name.")
                              .arg(invocation.arguments[names.size()], names.constLast()),
                          command);
    }
    for (qsizetype a = 0; a < given; ++a) {
        if (invocation.arguments[a].isEmpty()) {
            return usageError(QStringLiteral("%1 is empty.").arg(names[a]), command);
        }
    }
    invocation.file = invocation.argument(0);
    if (invocation.has(QStringLiteral("--password-stdin")) && invocation.has(QStringLiteral("--key-file"))) {
        return usageError(QStringLiteral("--password-stdin and --key-file exclude each other."), command);
    }
    parsed.outcome = ParsedArguments::Run;
    return parsed;
}
