#include "ArgumentParser.h"

#include "CommandTable.h"

namespace {

bool isHelp(const QString &argument)
{
    return argument == u"--help" || argument == u"-h";
}

const OptionSpec *findOption(const CommandSpec &command, QStringView name)
{
    auto find = [&](const std::vector<OptionSpec> &options) -> const OptionSpec * {
        for (const OptionSpec &option : options) {
            if (name == QLatin1StringView(option.name)) {
                return &option;
            }
        }
        return nullptr;
    };
    if (const OptionSpec *option = find(command.options)) {
        return option;
    }
    return command.takesPassword ? find(passwordOptions()) : nullptr;
}

ParsedArguments usageError(QString error)
{
    ParsedArguments parsed;
    parsed.error = std::move(error);
    return parsed;
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
    ParsedArguments parsed;
    parsed.command = findCommand(arguments[1]);
    if (!parsed.command) {
        return usageError(QStringLiteral("Unknown command \"%1\".").arg(arguments[1]));
    }
    const CommandSpec &command = *parsed.command;
    Invocation &invocation = parsed.invocation;
    invocation.command = arguments[1];
    qsizetype i = 2;
    if (command.subcommand) {
        if (i >= arguments.size() || arguments[i] != QLatin1StringView(command.subcommand)) {
            return usageError(QStringLiteral("%1 needs \"%2\".").arg(invocation.command,
                                                                     QLatin1StringView(command.subcommand)));
        }
        ++i;
    }
    bool optionsEnded = false;
    for (; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (argument == u"--") {
            ++i;
            optionsEnded = true;
            break;
        }
        if (isHelp(argument)) {
            parsed.outcome = ParsedArguments::Help;
            return parsed;
        }
        if (!argument.startsWith(u'-') || argument == u"-") {
            break;
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = equals < 0 ? argument : argument.first(equals);
        const OptionSpec *option = findOption(command, name);
        if (!option) {
            return usageError(QStringLiteral("Unknown option \"%1\" for %2.").arg(name, invocation.command));
        }
        if (invocation.has(name)) {
            return usageError(QStringLiteral("The option %1 is given twice.").arg(name));
        }
        QString value;
        if (!option->valueName) {
            if (equals >= 0) {
                return usageError(QStringLiteral("The option %1 takes no value.").arg(name));
            }
        } else if (equals >= 0) {
            value = argument.sliced(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            return usageError(QStringLiteral("The option %1 needs %2.").arg(name, QLatin1StringView(option->valueName)));
        }
        invocation.options.insert(name, value);
    }
    invocation.arguments = arguments.sliced(i);
    const qsizetype given = invocation.arguments.size();
    const qsizetype most = qsizetype(command.arguments.size());
    // An option after the arguments would be taken for one of them.
    for (qsizetype a = 1; a < given && !optionsEnded; ++a) {
        const QString &argument = invocation.arguments[a];
        const QString name = argument.first(argument.contains(u'=') ? argument.indexOf(u'=') : argument.size());
        if (argument.startsWith(u"-") && findOption(command, name)) {
            return usageError(QStringLiteral("Unexpected \"%1\" after %2: options come before the file name.")
                                  .arg(argument, QLatin1StringView(command.arguments[0])));
        }
    }
    if (given < command.minArguments) {
        return usageError(QStringLiteral("No %1 given.").arg(QLatin1StringView(command.arguments[given])));
    }
    if (given > most) {
        if (most == 0) {
            return usageError(QStringLiteral("Unexpected \"%1\": %2 takes no file name.")
                                  .arg(invocation.arguments[0], invocation.command));
        }
        return usageError(QStringLiteral("Unexpected \"%1\" after %2: options come before the file name.")
                              .arg(invocation.arguments[most], QLatin1StringView(command.arguments[most - 1])));
    }
    for (qsizetype a = 0; a < given; ++a) {
        if (invocation.arguments[a].isEmpty()) {
            return usageError(QStringLiteral("%1 is empty.").arg(QLatin1StringView(command.arguments[a])));
        }
    }
    invocation.file = invocation.argument(0);
    if (invocation.has(QStringLiteral("--password-stdin")) && invocation.has(QStringLiteral("--key-file"))) {
        return usageError(QStringLiteral("--password-stdin and --key-file exclude each other."));
    }
    parsed.outcome = ParsedArguments::Run;
    return parsed;
}
